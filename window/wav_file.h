// The layout of a RIFF WAV file as the sound service takes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The format record: format tag, channels, samples per second, bytes per
// second, block alignment, bits per sample.
struct WavFormat {
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t bytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

struct WavLayout {
    WavFormat format;
    std::size_t samplesOffset = 0;  // where the sample bytes begin in the file
    std::size_t samplesSize = 0;
};

// "RIFF" at byte 0, "fmt " at byte 12 with its record size at 16 and the
// record at 20; the samples are the "data" chunk, normally the one right after
// the record, else found by its identifier further on. Nothing when the layout
// differs, a record is shorter than its six fields, or any chunk on the way
// reaches beyond the end of the file.
std::optional<WavLayout> ParseWav(std::span<const std::uint8_t> file);

// How a device lays out the samples of a format it plays.
enum class SampleLayout { None, Mono8, Stereo8, Mono16, Stereo16, MonoFloat32, StereoFloat32 };

// The layout when a sound device plays the format: PCM of 8 or 16 bits or
// 32-bit floating point, one or two channels, a block alignment of one
// sample per channel, 1,000 to 384,000 samples per second. None for any
// other format, whatever its fields hold.
SampleLayout PlayableLayout(const WavFormat& format);
