// The sound table of the layer: the output device and the sounds by slot,
// with those of dropped tables that still play. sounds.cpp owns it.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#include <vector>

struct SoundEntry {
    ALuint buffer = 0;
    ALuint source = 0;
    bool held = false;
};

struct SoundTable {
    ALCdevice* soundDevice = nullptr;
    ALCcontext* soundContext = nullptr;
    std::vector<SoundEntry> sounds = std::vector<SoundEntry>(50);
    std::vector<SoundEntry> orphanSounds;  // from dropped tables, playing on

    bool OpenSoundDevice();
    static void ReleaseSound(SoundEntry& sound);
    void ReapOrphanSounds();
    void ReleaseSounds();
};
