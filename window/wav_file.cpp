#include "window/wav_file.h"

#include <cstring>

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
bool Is(const std::uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

}  // namespace

std::optional<WavLayout> ParseWav(std::span<const std::uint8_t> file) {
    const std::size_t size = file.size();
    const std::uint8_t* bytes = file.data();
    if (size < 20 || !Is(bytes, "RIFF") || !Is(bytes + 12, "fmt ")) return std::nullopt;
    std::size_t recordSize = Le32(bytes + 16);
    if (recordSize < 16 || recordSize > size - 20) return std::nullopt;

    WavLayout layout;
    const std::uint8_t* record = bytes + 20;
    layout.format.tag = Le16(record);
    layout.format.channels = Le16(record + 2);
    layout.format.samplesPerSecond = Le32(record + 4);
    layout.format.bytesPerSecond = Le32(record + 8);
    layout.format.blockAlign = Le16(record + 12);
    layout.format.bitsPerSample = Le16(record + 14);

    // Chunks after the record, up to the samples; a chunk of odd size is
    // followed by one filler byte.
    std::size_t at = 20 + recordSize;
    for (;;) {
        if (size - at < 8) return std::nullopt;
        std::size_t chunkSize = Le32(bytes + at + 4);
        if (chunkSize > size - at - 8) return std::nullopt;
        if (Is(bytes + at, "data")) {
            layout.samplesOffset = at + 8;
            layout.samplesSize = chunkSize;
            return layout;
        }
        at += 8 + chunkSize + (chunkSize & 1);
        if (at > size) return std::nullopt;
    }
}

SampleLayout PlayableLayout(const WavFormat& format) {
    constexpr std::uint32_t kLowestRate = 1000;
    constexpr std::uint32_t kHighestRate = 384000;
    // In 32 bits: 65,535 channels of 65,535 bits would overflow an int.
    const std::uint32_t frameBytes = std::uint32_t{format.channels} * format.bitsPerSample / 8;
    if (format.channels < 1 || format.channels > 2 || format.blockAlign != frameBytes ||
        format.samplesPerSecond < kLowestRate || format.samplesPerSecond > kHighestRate)
        return SampleLayout::None;
    const bool mono = format.channels == 1;
    if (format.tag == 1 && format.bitsPerSample == 8) return mono ? SampleLayout::Mono8 : SampleLayout::Stereo8;
    if (format.tag == 1 && format.bitsPerSample == 16) return mono ? SampleLayout::Mono16 : SampleLayout::Stereo16;
    if (format.tag == 3 && format.bitsPerSample == 32)
        return mono ? SampleLayout::MonoFloat32 : SampleLayout::StereoFloat32;
    return SampleLayout::None;
}
