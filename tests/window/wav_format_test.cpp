#include "window_test_support.h"

#include "window/wav_file.h"

#include <initializer_list>

namespace {

WavFormat Format(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t blockAlign,
                 std::uint16_t bits) {
    return WavFormat{tag, channels, rate, rate * blockAlign, blockAlign, bits};
}

TEST(WavFormat, OnlyFormatsADevicePlaysHaveALayout) {
    struct Case {
        WavFormat format;
        SampleLayout layout;
    } cases[] = {
        {Format(1, 1, 8000, 1, 8), SampleLayout::Mono8},
        {Format(1, 2, 44100, 4, 16), SampleLayout::Stereo16},
        {Format(3, 1, 48000, 4, 32), SampleLayout::MonoFloat32},
        {Format(1, 2, 44100, 6, 24), SampleLayout::None},          // 24-bit PCM
        {Format(1, 3, 44100, 6, 16), SampleLayout::None},          // three channels
        {Format(1, 0, 44100, 0, 16), SampleLayout::None},          // no channel
        {Format(1, 2, 44100, 2, 16), SampleLayout::None},          // block of half a frame
        {Format(1, 1, 999, 2, 16), SampleLayout::None},            // too slow for any device
        {Format(1, 1, 384001, 2, 16), SampleLayout::None},         // too fast
        {Format(1, 1, 4294967295u, 2, 16), SampleLayout::None},
        {Format(1, 65535, 44100, 65535, 65535), SampleLayout::None},  // channels x bits beyond an int
        {Format(2, 1, 8000, 1, 8), SampleLayout::None},            // compressed
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlayableLayout(c.format), c.layout)
            << c.format.channels << " channels of " << c.format.bitsPerSample << " bits at "
            << c.format.samplesPerSecond;
}

// A 52-byte WAV whose format record claims 65,535 channels of 65,535 bits.
std::vector<std::uint8_t> CraftedWav() {
    std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 44, 0, 0, 0, 'W', 'A', 'V', 'E',
                                       'f', 'm', 't', ' ', 16, 0, 0, 0,
                                       1, 0, 0xFF, 0xFF,          // PCM, 65,535 channels
                                       0x44, 0xAC, 0, 0,          // 44,100 per second
                                       0, 0, 0, 0,                // bytes per second
                                       0xFF, 0xFF, 0xFF, 0xFF,    // block, bits
                                       'd', 'a', 't', 'a', 8, 0, 0, 0};
    for (int i = 0; i < 8; ++i) bytes.push_back(0);
    return bytes;
}

TEST_F(WindowTest, ACraftedFormatIsRefusedWithoutOverflow) {
    const std::vector<std::uint8_t> crafted = CraftedWav();
    ASSERT_EQ(crafted.size(), 52u);
    std::optional<WavLayout> wav = ParseWav(crafted);
    ASSERT_TRUE(wav);
    EXPECT_EQ(PlayableLayout(wav->format), SampleLayout::None);
    ASSERT_TRUE(w.SoundInit());
    WriteBytes(TestFolder() / "crafted.wav", crafted);
    EXPECT_FALSE(w.SoundLoad(1, (TestFolder() / "crafted.wav").string()));
    EXPECT_FALSE(t.SoundHeld(1));
    w.SoundRelease();
}

}  // namespace
