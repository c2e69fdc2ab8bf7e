// Without a sound device the layer is silent: no error and nothing on the
// terminal. Its own process, since the sound library reads its settings once:
// ALSA with an empty configuration has no device and would complain.
#include "window/window_layer_testing.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

TEST(NoSoundDevice, SoundsAreSilentWithoutAnyMessageAndTonesStillTakeTheirTime) {
    const std::filesystem::path config = std::filesystem::temp_directory_path() / "kelmorven_no_alsa.conf";
    std::fclose(std::fopen(config.c_str(), "w"));
    ::setenv("ALSOFT_DRIVERS", "alsa,oss", 1);
    ::setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    ::unsetenv("ALSOFT_LOGLEVEL");

    WindowLayer w;
    WindowLayerTesting t(w);
    t.Test().pauseScale = 1.0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(w.SoundInit());
    EXPECT_FALSE(w.SoundLoad(1, "DatenE\\Sound.wav"));
    w.SoundPlay(1, 0);
    auto start = std::chrono::steady_clock::now();
    w.ToneBeep(1000, 60);
    auto took = std::chrono::steady_clock::now() - start;
    w.SoundRelease();
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "");
    EXPECT_GE(took, std::chrono::milliseconds(55));
    std::filesystem::remove(config);
}

}  // namespace
