// Any bytes as a sound file: the WAV layout is read or refused without
// reading beyond the file, and a format some device plays has samples of
// whole frames inside the file.
#include "window/wav_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const std::optional<WavLayout> wav = ParseWav(file);
    if (!wav) return 0;
    Require(wav->samplesOffset <= size && wav->samplesSize <= size - wav->samplesOffset);
    if (PlayableLayout(wav->format) == SampleLayout::None) return 0;
    const WavFormat& format = wav->format;
    Require(format.channels == 1 || format.channels == 2);
    Require(format.blockAlign == format.channels * format.bitsPerSample / 8);
    // The samples the device is given: whole frames, read to the last byte.
    const std::size_t frames = wav->samplesSize / format.blockAlign;
    unsigned sum = 0;
    for (std::size_t i = 0; i < frames * format.blockAlign; ++i) sum += data[wav->samplesOffset + i];
    return sum == 0xFFFFFFFFu ? 1 : 0;
}
