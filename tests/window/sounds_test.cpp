#include "window_test_support.h"

#include "window/tone_samples.h"
#include "window/wav_file.h"

#include <chrono>
#include <algorithm>
#include <cstring>

namespace {

void Put32(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& bytes, std::uint16_t value) {
    bytes.push_back(static_cast<std::uint8_t>(value));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}
void PutId(std::vector<std::uint8_t>& bytes, const char* id) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(id[i]));
}

struct WavParts {
    bool listBeforeFormat = false;  // "fmt " then no longer at byte 12
    bool chunkBeforeData = false;
    std::uint32_t formatSize = 16;
    std::uint32_t claimedDataSize = 0;  // 0: the real size
    std::uint16_t bits = 16;
};

// A mono 8000 Hz WAV of 400 samples.
std::vector<std::uint8_t> MakeWav(const WavParts& parts = {}) {
    std::vector<std::uint8_t> bytes;
    PutId(bytes, "RIFF");
    Put32(bytes, 0);
    PutId(bytes, "WAVE");
    if (parts.listBeforeFormat) {
        PutId(bytes, "LIST");
        Put32(bytes, 4);
        PutId(bytes, "INFO");
    }
    PutId(bytes, "fmt ");
    Put32(bytes, parts.formatSize);
    Put16(bytes, 1);
    Put16(bytes, 1);
    Put32(bytes, 8000);
    Put32(bytes, 8000u * parts.bits / 8);
    Put16(bytes, static_cast<std::uint16_t>(parts.bits / 8));
    Put16(bytes, parts.bits);
    for (std::uint32_t i = 16; i < parts.formatSize; ++i) bytes.push_back(0);
    if (parts.chunkBeforeData) {
        PutId(bytes, "fact");
        Put32(bytes, 5);  // odd: one filler byte follows
        for (int i = 0; i < 6; ++i) bytes.push_back(0);
    }
    const std::uint32_t size = 400u * parts.bits / 8;
    PutId(bytes, "data");
    Put32(bytes, parts.claimedDataSize ? parts.claimedDataSize : size);
    for (std::uint32_t i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(i * 7));
    return bytes;
}

TEST(WavLayout, TheSamplesFollowTheFormatRecordOrAreFoundByTheirName) {
    struct Case {
        const char* what;
        WavParts parts;
        bool accepted;
    } cases[] = {
        {"plain", {}, true},
        {"longer format record", {.formatSize = 18}, true},
        {"chunk between format and samples", {.chunkBeforeData = true}, true},
        {"fmt not at byte 12", {.listBeforeFormat = true}, false},
        {"format record shorter than its fields", {.formatSize = 14}, false},
        {"samples beyond the end", {.claimedDataSize = 10000}, false},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes = MakeWav(c.parts);
        std::optional<WavLayout> wav = ParseWav(bytes);
        ASSERT_EQ(wav.has_value(), c.accepted) << c.what;
        if (!wav) continue;
        EXPECT_EQ(wav->format.samplesPerSecond, 8000u) << c.what;
        EXPECT_EQ(wav->format.bitsPerSample, 16) << c.what;
        EXPECT_EQ(wav->samplesSize, 800u) << c.what;
        EXPECT_EQ(wav->samplesOffset + wav->samplesSize, bytes.size()) << c.what;
    }

    std::vector<std::uint8_t> cut = MakeWav();
    cut.resize(30);  // ends inside the format record
    EXPECT_FALSE(ParseWav(cut));
    std::vector<std::uint8_t> noSamples = MakeWav();
    noSamples.resize(44 - 8);
    EXPECT_FALSE(ParseWav(noSamples));
    std::vector<std::uint8_t> notRiff = MakeWav();
    std::memcpy(notRiff.data(), "RIFX", 4);
    EXPECT_FALSE(ParseWav(notRiff));
}

TEST_F(WindowTest, SoundsLoadIntoSlotsOfAFreshTableAtEverySoundInit) {
    ASSERT_TRUE(w.SoundInit());  // the sound library's silent output in tests
    EXPECT_EQ(t.SoundSlotCount(), 50);
    const auto folder = TestFolder();
    WriteBytes(folder / "plain.wav", MakeWav());
    WriteBytes(folder / "between.wav", MakeWav({.chunkBeforeData = true}));
    WriteBytes(folder / "late_fmt.wav", MakeWav({.listBeforeFormat = true}));
    WriteBytes(folder / "pcm24.wav", MakeWav({.bits = 24}));

    EXPECT_TRUE(w.SoundLoad(1, (folder / "plain.wav").string()));
    EXPECT_TRUE(w.SoundLoad(2, (folder / "between.wav").string()));
    // Refusals leave the slot as it was.
    EXPECT_FALSE(w.SoundLoad(1, (folder / "late_fmt.wav").string()));
    EXPECT_FALSE(w.SoundLoad(1, (folder / "pcm24.wav").string()));  // a format the device refuses
    EXPECT_FALSE(w.SoundLoad(1, (folder / "missing.wav").string()));
    EXPECT_TRUE(t.SoundHeld(1));

    w.SoundPlay(1, 0);
    w.SoundPlay(1, 0);  // stop, rewind, play again
    w.SoundPlay(2, 1);
    w.SoundPlay(7, 0);  // empty slot: nothing

    EXPECT_TRUE(w.SoundLoad(60, (folder / "plain.wav").string()));
    EXPECT_EQ(t.SoundSlotCount(), 110);

    ASSERT_TRUE(w.SoundInit());  // the looping sound plays on, unreachable
    EXPECT_EQ(t.SoundSlotCount(), 50);
    EXPECT_FALSE(t.SoundHeld(1));
    EXPECT_FALSE(t.SoundHeld(2));
    w.SoundRelease();
    EXPECT_FALSE(w.SoundLoad(1, (folder / "plain.wav").string()));  // no device any more
}

TEST_F(WindowTest, ATonePlaysThroughTheDeviceForItsWholeDuration) {
    t.Test().pauseScale = 1.0;
    ASSERT_TRUE(w.SoundInit());
    auto start = std::chrono::steady_clock::now();
    w.ToneBeep(1000, 100);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(95));
    w.SoundRelease();
}

TEST(ToneSamples, ASineOfTheDurationOrNothingWhenUnplayable) {
    std::vector<std::int16_t> tone = SineTone(1000, 100, 44100);
    ASSERT_EQ(tone.size(), 4410u);
    EXPECT_EQ(tone.front(), 0);  // faded in
    EXPECT_GT(*std::max_element(tone.begin(), tone.end()), 15000);
    EXPECT_TRUE(SineTone(0, 100, 44100).empty());
    EXPECT_TRUE(SineTone(30000, 100, 44100).empty());
    EXPECT_TRUE(SineTone(1000, 0, 44100).empty());
}

}  // namespace
