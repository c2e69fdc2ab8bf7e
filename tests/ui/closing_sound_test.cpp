// The closing steps as the user hears them: the sound library's file writer
// records the mixed output, and the recording must hold the four tones and
// then the completion sound, sample for sample. Its own process, since the
// sound library reads its settings once.
#include "ui_harness.h"

#include "window/wav_file.h"
#include "ui/calculation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace ui_test;

namespace {

constexpr int kRate = 44100;

// Sends the sound library's output to a WAV file at the tones' own rate, in
// one channel of 16-bit samples, without dither or limiter, so that a sound
// comes out as its samples went in.
void RecordSoundInto(const fs::path& recording, const fs::path& folder) {
    const fs::path config = folder / "alsoft.conf";
    std::ofstream(config) << "[general]\n"
                          << "channels = mono\n"
                          << "sample-type = int16\n"
                          << "frequency = " << kRate << "\n"
                          << "dither = false\n"
                          << "output-limiter = false\n"
                          << "[wave]\n"
                          << "file = " << recording.string() << "\n";
    ::setenv("ALSOFT_CONF", config.c_str(), 1);
    ::setenv("ALSOFT_DRIVERS", "wave", 1);
}

std::vector<std::uint8_t> Bytes(const fs::path& path) {
    const std::string text = Contents(path);
    return {text.begin(), text.end()};
}

std::uint32_t Read32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

// The first channel of a WAV file's 16-bit samples, scaled to [-1, 1). The
// recording is read while the writer still holds it open, before its sizes
// are filled in, so the samples run from the "data" chunk to the file's end.
std::vector<double> Samples(const std::vector<std::uint8_t>& file) {
    std::vector<double> samples;
    if (file.size() < 20 || Read32(file, 12) != 0x20746d66) return samples;  // "fmt "
    const std::size_t data = 20 + Read32(file, 16);
    if (file.size() < data + 8) return samples;
    const unsigned channels = file[22] | file[23] << 8;
    const unsigned bits = file[34] | file[35] << 8;
    if (channels == 0 || bits != 16) return samples;
    for (std::size_t at = data + 8; at + 2 * channels <= file.size(); at += 2 * channels)
        samples.push_back(static_cast<std::int16_t>(file[at] | file[at + 1] << 8) / 32768.0);
    return samples;
}

// A stretch of sound between stretches of silence: samples [begin, end).
struct Stretch {
    std::size_t begin = 0, end = 0;
    std::size_t Length() const { return end - begin; }
};

constexpr double kQuiet = 3.0 / 32768;  // a few steps of the last bit
constexpr std::size_t kSilenceBetween = 100;  // about 2 ms: longer than any swing of a tone

std::vector<Stretch> Stretches(const std::vector<double>& s) {
    std::vector<Stretch> found;
    std::size_t quietRun = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (std::abs(s[i]) <= kQuiet) {
            ++quietRun;
            continue;
        }
        if (found.empty() || quietRun >= kSilenceBetween) found.push_back({i, i});
        found.back().end = i + 1;
        quietRun = 0;
    }
    return found;
}

// Frequency from the sign changes, two per cycle, counted between the first
// and the last of them.
double ZeroCrossingFrequency(const std::vector<double>& s, Stretch t) {
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t i = t.begin + 1; i < t.end; ++i) {
        if ((s[i - 1] < 0) == (s[i] < 0)) continue;
        if (crossings++ == 0) first = i;
        last = i;
    }
    if (crossings < 2) return 0;
    return (crossings - 1) / 2.0 / (static_cast<double>(last - first) / kRate);
}

// The share of the stretch's power that lies at one frequency (Goertzel):
// near 1 for a pure tone, about 0.8 for a square wave, small for noise or
// a mixture of tones.
double ShareAt(const std::vector<double>& s, Stretch t, double frequency) {
    const double coefficient = 2 * std::cos(2 * std::numbers::pi * frequency / kRate);
    double previous = 0, beforePrevious = 0, total = 0;
    for (std::size_t i = t.begin; i < t.end; ++i) {
        const double next = s[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = next;
        total += s[i] * s[i];
    }
    const double power = previous * previous + beforePrevious * beforePrevious -
                         coefficient * previous * beforePrevious;
    return total > 0 ? 2 * power / (static_cast<double>(t.Length()) * total) : 0;
}

// How closely the recording from `at` follows the reference: the correlation
// coefficient over the reference's length (1 for the same samples at any volume).
double Correlation(const std::vector<double>& recording, std::size_t at,
                   const std::vector<double>& reference) {
    double rr = 0, cc = 0, rc = 0;
    for (std::size_t i = 0; i < reference.size(); ++i) {
        const double c = recording[at + i];
        rr += reference[i] * reference[i];
        cc += c * c;
        rc += reference[i] * c;
    }
    return rr > 0 && cc > 0 ? rc / std::sqrt(rr * cc) : 0;
}

}  // namespace

TEST(ClosingSteps, PlayFourTonesOf1000_800_1200_1000HzThenTheCompletionSound) {
    Session s("closing_sound");
    const fs::path recording = s.program.folder / "heard.wav";
    RecordSoundInto(recording, s.program.folder);
    fs::copy_file(KELMORVEN_SOUND_FILE, s.Data() / "Sound.wav");
    const std::vector<std::uint8_t> soundFile = Bytes(KELMORVEN_SOUND_FILE);
    const std::optional<WavLayout> wav = ParseWav(soundFile);
    ASSERT_TRUE(wav && wav->format.channels == 1 && wav->format.bitsPerSample == 16 &&
                wav->format.samplesPerSecond == kRate)
        << "the completion sound is expected as 16-bit mono at " << kRate << " Hz";
    std::vector<double> chime;
    for (std::size_t at = wav->samplesOffset; at + 2 <= wav->samplesOffset + wav->samplesSize; at += 2)
        chime.push_back(static_cast<std::int16_t>(soundFile[at] | soundFile[at + 1] << 8) / 32768.0);
    while (!chime.empty() && std::abs(chime.front()) <= kQuiet) chime.erase(chime.begin());

    s.t.Test().pauseScale = 1.0;  // tones as long as the user hears them
    ASSERT_TRUE(BuildMainWindow(s.program));
    FinishTimetableRun(s.program, "Year edited into text-file: BERN.TXT");
    EXPECT_EQ(s.w.ControlTextGet(kDocumentLine), "Year edited into text-file: BERN.TXT");
    EXPECT_EQ(s.w.ControlStateGet(kRunProgress), 365);

    // The writer mixes in step with the clock: wait until the recording holds
    // the whole completion sound and a stretch of silence after it.
    std::vector<double> heard;
    std::vector<Stretch> stretches;
    auto complete = [&] {
        heard = Samples(Bytes(recording));
        stretches = Stretches(heard);
        return stretches.size() >= 5 && heard.size() >= stretches[4].begin + chime.size() + kRate / 10;
    };
    for (int waited = 0; !complete() && waited < 600; ++waited) s.w.Pause(100);
    s.w.SoundRelease();

    std::ostringstream found;
    for (const Stretch& t : stretches) found << " [" << t.begin << ", " << t.end << ")";
    ASSERT_GE(stretches.size(), 5u) << "sounding stretches heard:" << found.str();

    const double tones[] = {1000, 800, 1200, 1000};
    for (int n = 0; n < 4; ++n) {
        SCOPED_TRACE("tone " + std::to_string(n + 1));
        const Stretch t = stretches[n];
        EXPECT_NEAR(ZeroCrossingFrequency(heard, t), tones[n], tones[n] * 0.01);
        EXPECT_GT(ShareAt(heard, t, tones[n]), 0.9) << "not a pure tone";
        EXPECT_NEAR(t.Length() * 1000.0 / kRate, 100, 1) << "milliseconds";
    }

    // Then the completion sound's own samples (at whatever volume the mix
    // gives a single sound), and nothing after it.
    // A quiet first sample may fall below the silence line at a lower volume:
    // the best match within a few samples of the stretch's start counts.
    std::size_t start = stretches[4].begin;
    ASSERT_GE(heard.size(), start + chime.size() + 3);
    double best = 0;
    for (std::size_t at = start >= 3 ? start - 3 : 0; at <= stretches[4].begin + 3; ++at) {
        if (Correlation(heard, at, chime) > best) {
            best = Correlation(heard, at, chime);
            start = at;
        }
    }
    EXPECT_GT(best, 0.999);
    EXPECT_LE(stretches.back().end, start + chime.size() + 2) << "sound after the completion sound";
}
