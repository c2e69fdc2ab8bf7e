// Sounds on the platform's default output: the sound table, WAV files and
// tones. No device means silence, never an error.
#include "window/layer_impl.h"
#include "window/tone_samples.h"
#include "window/wav_file.h"
#include "files/text_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <dlfcn.h>

namespace {

constexpr std::size_t kMaxSoundFileBytes = std::size_t{256} << 20;
constexpr int kToneRate = 44100;

bool ReadWhole(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    std::uint8_t chunk[65536];
    std::size_t got;
    bool ok = true;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (bytes.size() > kMaxSoundFileBytes) {
            ok = false;
            break;
        }
    }
    if (std::ferror(file)) ok = false;
    std::fclose(file);
    return ok;
}

// The device's name for a WAV format; 0 when it takes no such format.
ALenum DeviceFormat(const WavFormat& format) {
    const SampleLayout layout = PlayableLayout(format);
    switch (layout) {
        case SampleLayout::Mono8: return AL_FORMAT_MONO8;
        case SampleLayout::Stereo8: return AL_FORMAT_STEREO8;
        case SampleLayout::Mono16: return AL_FORMAT_MONO16;
        case SampleLayout::Stereo16: return AL_FORMAT_STEREO16;
        case SampleLayout::MonoFloat32:
        case SampleLayout::StereoFloat32:
            if (!alIsExtensionPresent("AL_EXT_FLOAT32")) return 0;
            return alGetEnumValue(layout == SampleLayout::MonoFloat32 ? "AL_FORMAT_MONO_FLOAT32"
                                                                   : "AL_FORMAT_STEREO_FLOAT32");
        case SampleLayout::None: return 0;
    }
    return 0;
}

// The ALSA library, which the sound library may load to probe for a card,
// reports a missing card on the terminal; route its reports to nowhere.
void IgnoreAlsaReport(const char*, int, const char*, int, const char*, ...) {}

void SilenceAlsa() {
    static bool done = false;
    if (done) return;
    done = true;
    void* alsa = ::dlopen("libasound.so.2", RTLD_LAZY | RTLD_GLOBAL);
    if (!alsa) return;  // not installed: nothing that could talk
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(::dlsym(alsa, "snd_lib_error_set_handler")))
        set(IgnoreAlsaReport);
}

}  // namespace

bool SoundTable::OpenSoundDevice() {
    if (soundContext) return true;
    // The sound library would otherwise report on the terminal; a user's own
    // setting is kept.
    ::setenv("ALSOFT_LOGLEVEL", "0", 0);
    SilenceAlsa();
    soundDevice = alcOpenDevice(nullptr);
    if (!soundDevice) return false;
    soundContext = alcCreateContext(soundDevice, nullptr);
    if (!soundContext || !alcMakeContextCurrent(soundContext)) {
        if (soundContext) alcDestroyContext(soundContext);
        alcCloseDevice(soundDevice);
        soundContext = nullptr;
        soundDevice = nullptr;
        return false;
    }
    return true;
}

void SoundTable::ReleaseSound(SoundEntry& sound) {
    if (sound.source) {
        alSourceStop(sound.source);
        alSourcei(sound.source, AL_BUFFER, 0);
        alDeleteSources(1, &sound.source);
    }
    if (sound.buffer) alDeleteBuffers(1, &sound.buffer);
    sound = SoundEntry{};
}

void SoundTable::ReapOrphanSounds() {
    std::erase_if(orphanSounds, [](SoundEntry& sound) {
        ALint state = AL_STOPPED;
        alGetSourcei(sound.source, AL_SOURCE_STATE, &state);
        if (state == AL_PLAYING) return false;
        ReleaseSound(sound);
        return true;
    });
}

void SoundTable::ReleaseSounds() {
    if (soundContext) {
        for (SoundEntry& sound : sounds) ReleaseSound(sound);
        for (SoundEntry& sound : orphanSounds) ReleaseSound(sound);
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(soundContext);
        alcCloseDevice(soundDevice);
    }
    sounds.assign(50, SoundEntry{});
    orphanSounds.clear();
    soundContext = nullptr;
    soundDevice = nullptr;
}

bool WindowLayer::SoundInit() {
    LayerState& d = *impl_;
    // A fresh table; sounds still playing play on to their end.
    if (d.soundContext) {
        for (SoundEntry& sound : d.sounds)
            if (sound.held) d.orphanSounds.push_back(sound);
        d.ReapOrphanSounds();
    }
    d.sounds.assign(50, SoundEntry{});
    return d.OpenSoundDevice();
}

bool WindowLayer::SoundLoad(int slot, const std::filesystem::path& file) {
    LayerState& d = *impl_;
    if (slot < 0 || !d.soundContext) return false;
    std::vector<std::uint8_t> bytes;
    if (!ReadWhole(file, bytes)) return false;
    std::optional<WavLayout> wav = ParseWav(bytes);
    if (!wav) return false;
    ALenum format = DeviceFormat(wav->format);
    if (format == 0) return false;
    std::size_t size = wav->samplesSize / wav->format.blockAlign * wav->format.blockAlign;

    alGetError();
    SoundEntry sound;
    alGenBuffers(1, &sound.buffer);
    if (alGetError() != AL_NO_ERROR) return false;
    alBufferData(sound.buffer, format, bytes.data() + wav->samplesOffset, static_cast<ALsizei>(size),
                 static_cast<ALsizei>(wav->format.samplesPerSecond));
    if (alGetError() == AL_NO_ERROR) alGenSources(1, &sound.source);
    if (alGetError() == AL_NO_ERROR) alSourcei(sound.source, AL_BUFFER, static_cast<ALint>(sound.buffer));
    if (alGetError() != AL_NO_ERROR) {
        SoundTable::ReleaseSound(sound);
        return false;
    }
    sound.held = true;

    d.ReapOrphanSounds();
    if (slot >= static_cast<int>(d.sounds.size())) d.sounds.resize(slot + 50);
    SoundTable::ReleaseSound(d.sounds[slot]);
    d.sounds[slot] = sound;
    return true;
}

void WindowLayer::SoundPlay(int slot, int loop) {
    LayerState& d = *impl_;
    if (slot < 0 || slot >= static_cast<int>(d.sounds.size()) || !d.sounds[slot].held) return;
    ALuint source = d.sounds[slot].source;
    alSourceStop(source);
    alSourceRewind(source);
    alSourcei(source, AL_LOOPING, loop != 0 ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    d.ReapOrphanSounds();
}

void WindowLayer::ToneBeep(int frequency, int milliseconds) {
    LayerState& d = *impl_;
    const double duration = milliseconds * d.testing.pauseScale;
    if (duration <= 0) return;
    std::vector<std::int16_t> samples = SineTone(frequency, duration, kToneRate);
    if (samples.empty() || !d.OpenSoundDevice()) {
        d.WaitWithoutInput(duration);  // silence of the same length
        return;
    }
    alGetError();
    SoundEntry tone;
    alGenBuffers(1, &tone.buffer);
    alBufferData(tone.buffer, AL_FORMAT_MONO16, samples.data(),
                 static_cast<ALsizei>(samples.size() * sizeof samples[0]), kToneRate);
    alGenSources(1, &tone.source);
    alSourcei(tone.source, AL_BUFFER, static_cast<ALint>(tone.buffer));
    const bool playing = alGetError() == AL_NO_ERROR;
    if (playing) alSourcePlay(tone.source);
    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::microseconds(static_cast<long long>(duration * 1000.0));
    d.WaitWithoutInput(duration);
    // The device may lag a little behind the clock: let the tone end.
    while (playing && std::chrono::steady_clock::now() < end + std::chrono::milliseconds(200)) {
        ALint state = AL_STOPPED;
        alGetSourcei(tone.source, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) break;
        d.WaitWithoutInput(2);
    }
    SoundTable::ReleaseSound(tone);
}

void WindowLayer::SoundRelease() { impl_->ReleaseSounds(); }

