// The data folder under a program folder whose name code page 1252 cannot
// hold: the pictures and the sound are still found there.
#include "ui_harness.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

using namespace ui_test;

namespace {

// A mono 8000 Hz WAV of 800 silent samples.
void WriteSound(const std::filesystem::path& path) {
    std::vector<std::uint8_t> bytes = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                       16, 0, 0, 0, 1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0,
                                       'd', 'a', 't', 'a', 0x20, 0x03, 0, 0};
    bytes.resize(bytes.size() + 800, 0x80);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

TEST(DataFolder, IsFoundUnderAProgramFolderWhoseNameCodePage1252CannotHold) {
    Session s("data_\xCE\xA9_\xE6\x97\xA5");  // Ω and 日 in the folder's name
    s.CopyPicture("sunset.jpg");
    s.CopyPicture("Zeitzonenkarte.jpg");
    WriteSound(s.Data() / "Sound.wav");
    s.Click(kZoneMapButton);
    s.Check([&] {
        EXPECT_TRUE(s.t.WindowIsOpen(kZoneMapWindow));
        EXPECT_TRUE(s.t.PictureInSlot(0).held);
        EXPECT_TRUE(s.t.ControlGeometry(kMapPicture).live);
    });
    s.Close(kZoneMapWindow);
    s.Type(kTownField, "BERN");
    s.Type(kLongitudeField, "7.2640");
    s.Type(kLatitudeField, "46.5650");
    s.Click(kCalculateButton);
    s.Check([&] { EXPECT_TRUE(s.t.SoundHeld(1)); });
    s.Click(kExitButton);
    s.RunWholeProgram();  // the greeting's sunset and the JPEG decoder first
    EXPECT_TRUE(s.messages.empty());
    EXPECT_EQ(s.overruns, 0);
}

}  // namespace
