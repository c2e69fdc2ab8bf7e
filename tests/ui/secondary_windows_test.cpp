#include "ui_harness.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace ui_test;

namespace {

std::vector<std::string> Numbered(int count) {
    std::vector<std::string> lines;
    for (int n = 1; n <= count; ++n) lines.push_back("line " + std::to_string(n));
    return lines;
}

}  // namespace

TEST(InfoWindow, ListsTheFirst160LinesFillingUpAShortFileWithEmptyLines) {
    Session s("info");
    s.WriteInfo({"first", "second \xB0", "third"});
    s.Click(kInfoButton);
    s.Click(kCalculateButton);  // dropped while the information waits
    s.Click(kExitButton);
    s.Check([&] {
        EXPECT_TRUE(s.t.WindowIsOpen(kInfoWindow));
        EXPECT_EQ(s.t.WindowTitle(kInfoWindow), "Info");
        ASSERT_EQ(s.t.LineListCount(kInfoList), 160);
        EXPECT_EQ(s.t.LineListText(kInfoList, 0), "first");
        EXPECT_EQ(s.t.LineListText(kInfoList, 1), "second \xB0");
        EXPECT_EQ(s.t.LineListText(kInfoList, 2), "third");
        EXPECT_EQ(s.t.LineListText(kInfoList, 3), "");
        EXPECT_EQ(s.t.LineListText(kInfoList, 159), "");
    });
    // The file changes between two looks; the second look shows the change.
    s.Act([&] {
        s.WriteInfo(Numbered(200));
        s.t.SimulateCloseRequest(kInfoWindow);
    });
    s.Check([&] { EXPECT_FALSE(s.t.WindowIsOpen(kInfoWindow)); });
    s.Click(kInfoButton);
    s.Check([&] {
        ASSERT_EQ(s.t.LineListCount(kInfoList), 160);
        EXPECT_EQ(s.t.LineListText(kInfoList, 0), "line 1");
        EXPECT_EQ(s.t.LineListText(kInfoList, 159), "line 160");
        EXPECT_EQ(s.program.infoLines[160], "line 160");
    });
    s.Close(kInfoWindow);
    s.Check([&] {
        EXPECT_TRUE(s.t.WindowIsOpen(kMainWindow));
        // Two clicks flipped the button twice: released again.
        EXPECT_EQ(s.w.ControlStateGet(kInfoButton), 0);
    });
    s.Click(kExitButton);
    s.RunMainWindowFromStart();
    EXPECT_TRUE(s.messages.empty());
    EXPECT_EQ(s.overruns, 0);
}

TEST(InfoWindow, WithoutItsFileShowsAnEmptyListAndStillWaitsForItsClose) {
    Session s("noinfo");
    s.Click(kInfoButton);
    s.Check([&] {
        EXPECT_TRUE(s.t.WindowIsOpen(kInfoWindow));
        EXPECT_EQ(s.t.LineListCount(kInfoList), 0);
    });
    s.Close(kInfoWindow);
    // The close ended the information window only.
    s.Check([&] {
        EXPECT_FALSE(s.t.WindowIsOpen(kInfoWindow));
        EXPECT_TRUE(s.t.WindowIsOpen(kMainWindow));
    });
    s.Click(kExitButton);
    s.RunMainWindowFromStart();
    EXPECT_EQ(s.overruns, 0);
}

TEST(ZoneMapWindow, ClosedByTheMainWindowsCloseBoxLeavesTheMainWindowWhoseYearFieldStillCounts) {
    Session s("zonemap");
    s.CopyPicture("Zeitzonenkarte.jpg");
    s.Retype(kYearField, "1999");
    s.Type(kTownField, "BERN");
    s.Type(kLongitudeField, "7.2640");
    s.Type(kLatitudeField, "46.5650");
    s.Click(kZoneMapButton);
    s.Check([&] {
        EXPECT_TRUE(s.t.WindowIsOpen(kZoneMapWindow));
        EXPECT_EQ(s.t.WindowTitle(kZoneMapWindow), "Zeitzonenkarte");
    });
    s.Close(kMainWindow);
    s.Check([&] {
        EXPECT_FALSE(s.t.WindowIsOpen(kZoneMapWindow));
        EXPECT_TRUE(s.t.WindowIsOpen(kMainWindow));
        EXPECT_EQ(s.w.ControlTextGet(kYearField), "1999");
    });
    s.Click(kCalculateButton);
    s.Check([&] { EXPECT_EQ(s.program.settings.yearText, "1999"); });
    s.Click(kExitButton);
    s.RunMainWindowFromStart();
    EXPECT_TRUE(s.messages.empty());
    ASSERT_EQ(FilesIn(s.program.folder), std::vector<std::string>{"BERN.TXT"});
    EXPECT_NE(Contents(s.program.folder / "BERN.TXT").find("   Year = 1999\r\n"), std::string::npos);
    EXPECT_EQ(s.overruns, 0);
}

TEST(ZoneMapWindow, WithoutItsPictureStaysOpenPlainUntilClosed) {
    Session s("nomap");
    s.Click(kZoneMapButton);
    s.Check([&] { EXPECT_TRUE(s.t.WindowIsOpen(kZoneMapWindow)); });
    s.Click(kCalculateButton);  // dropped while the map waits
    s.Check([&] { EXPECT_TRUE(s.t.WindowIsOpen(kZoneMapWindow)); });
    s.Close(kZoneMapWindow);
    s.Check([&] {
        EXPECT_FALSE(s.t.WindowIsOpen(kZoneMapWindow));
        EXPECT_TRUE(s.t.WindowIsOpen(kMainWindow));
    });
    s.Click(kExitButton);
    s.RunMainWindowFromStart();
    EXPECT_TRUE(s.messages.empty());
    EXPECT_EQ(s.overruns, 0);
}
