#include "ui_harness.h"

#include "calc/year_result.h"
#include "documents/timetable_documents.h"
#include "input/checks.h"
#include "tests/support/locking_process.h"
#include "tests/support/temp_folder.h"
#include "text/dates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <locale.h>
#include <memory>

namespace fs = std::filesystem;
using namespace ui_test;

namespace {

// The same input through the engine and the documents alone.
YearResult BernWithoutWindows(const std::string& year) {
    InputSnapshot snapshot;
    snapshot.yearRaw = year;
    snapshot.townRaw = "BERN";
    snapshot.longitudeRaw = "7.2640";
    snapshot.latitudeRaw = "46.5650";
    snapshot.zoneRaw = "1";
    snapshot.summerTimeChecked = true;
    snapshot.sixtyMode = true;
    TimetableSettings settings;
    EXPECT_TRUE(CheckInputs(snapshot, settings).passed);
    return CalculateYear(settings);
}

// The document the writer makes on its own for the same input, byte for
// byte the one the program wrote.
void ExpectSameDocumentAsWrittenAlone(const fs::path& written, const YearResult& expected, DocumentKind kind) {
    fs::path reference = FreshFolder("ui_expected_" + written.filename().string());
    ASSERT_TRUE(WriteTimetableDocument(MakeTimetableDocument(kind, expected), reference));
    EXPECT_EQ(Contents(written), Contents(reference / written.filename()));
    fs::remove_all(reference);
}

}  // namespace

TEST(Calculate, ShowsTheThreeNotesFillsTheBarAndWritesExactlyTheTextDocument) {
    // The toolkit, once up, has set the locale; under a decimal comma the bytes are those written under C.
    Session s("calculate");
    const std::string before = setlocale(LC_ALL, nullptr);
    ASSERT_NE(setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "no de_DE.UTF-8: scripts/install-deps makes it";
    TypeBern(s);
    s.Click(kCalculateButton);
    const YearResult expected = BernWithoutWindows("2004");
    s.Check([&] {
        EXPECT_EQ(s.w.ControlTextGet(kAboutLine),
                  "Today Sunday 3.14.2004   SS SR = " + expected.Entry(314));
        EXPECT_EQ(s.w.ControlTextGet(kStatusLine), "Is a leap-year! ST-Changes included: 3.28. - 10.30.");
        EXPECT_EQ(s.w.ControlTextGet(kDocumentLine), "Year edited into text-file: BERN.TXT");
        EXPECT_EQ(s.w.ControlStateGet(kRunProgress), 365);
        // The window keeps what was typed and chosen.
        EXPECT_EQ(s.w.ControlTextGet(kTownField), "BERN");
        EXPECT_EQ(s.w.ControlStateGet(kEastOption), 1);
        EXPECT_EQ(s.w.ControlStateGet(kSummerTimeBox), 1);
    });
    s.Click(kExitButton);
    s.RunWholeProgram();
    EXPECT_TRUE(s.messages.empty());
    EXPECT_EQ(s.overruns, 0);
    ASSERT_EQ(FilesIn(s.program.folder), std::vector<std::string>{"BERN.TXT"});
    setlocale(LC_ALL, "C");
    ExpectSameDocumentAsWrittenAlone(s.program.folder / "BERN.TXT", expected, DocumentKind::Text);
    setlocale(LC_ALL, before.c_str());
}

TEST(Calculate, WithWordChosenWritesOnlyTheRtfDocument) {
    Session s("rtf");
    TypeBern(s);
    s.Click(kRtfFileOption);
    s.Click(kCalculateButton);
    s.Check([&] {
        EXPECT_EQ(s.w.ControlTextGet(kDocumentLine), MakeTimetableDocument(DocumentKind::Rtf, *s.program.year).status);
        EXPECT_NE(s.w.ControlTextGet(kDocumentLine).find("BERN.WRI"), std::string::npos);
        EXPECT_EQ(s.w.ControlStateGet(kRunProgress), 365);
    });
    s.Click(kExitButton);
    s.RunWholeProgram();
    ASSERT_EQ(FilesIn(s.program.folder), std::vector<std::string>{"BERN.WRI"});
    const YearResult expected = BernWithoutWindows("2004");
    ExpectSameDocumentAsWrittenAlone(s.program.folder / "BERN.WRI", expected, DocumentKind::Rtf);
}

// The way is blocked by a folder under the document's name, or by another
// program that holds the document (which then stays as it was).
TEST(Calculate, ADocumentThatCannotBeWrittenShowsAttentionAndRebuildsTheWindow) {
    struct Case {
        const char* name;
        std::function<std::function<void()>(const fs::path&)> block;  // gives what frees the way
    };
    const Case cases[] = {
        {"unwritable",
         [](const fs::path& document) -> std::function<void()> {
             fs::create_directory(document);
             return [document] { fs::remove(document); };
         }},
        {"held",
         [](const fs::path& document) -> std::function<void()> {
             std::ofstream(document, std::ios::binary) << "earlier";
             auto holder = std::make_shared<LockingProcess>(document, LockingProcess::Flock);
             EXPECT_TRUE(holder->Locked());
             return [holder]() mutable { holder.reset(); };
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s(c.name);
        const fs::path document = s.program.folder / "BERN.TXT";
        std::function<void()> free = c.block(document);
        TypeBern(s);
        s.Click(kCalculateButton);
        s.Check([&] {
            ASSERT_EQ(s.messages.size(), 1u);
            EXPECT_EQ(s.messages[0].title, "Attention !");
            EXPECT_EQ(s.messages[0].text, kCannotSaveText);
            EXPECT_EQ(s.w.ControlTextGet(kTownField), "BERN");
            EXPECT_EQ(s.w.ControlTextGet(kLongitudeField), "7.2640");
            EXPECT_EQ(s.w.ControlStateGet(kEastOption), 0);
            EXPECT_EQ(s.w.ControlTextGet(kAboutLine), kAboutText);  // the today line went with the window
            EXPECT_EQ(s.w.ControlTextGet(kDocumentLine), "");
            EXPECT_LE(s.w.ControlStateGet(kRunProgress), 1);
            if (fs::is_regular_file(document)) {
                EXPECT_EQ(Contents(document), "earlier");
            }
        });
        // Refused a few times more, the program still works once the way is free.
        for (int n = 0; n < 3; ++n) s.Click(kCalculateButton);
        s.Act([&] {
            free();
            s.t.SimulateClick(kCalculateButton);
        });
        s.Check([&] { EXPECT_EQ(s.w.ControlStateGet(kRunProgress), 365); });
        s.Click(kExitButton);
        s.RunWholeProgram();
        EXPECT_EQ(s.messages.size(), 4u);
        EXPECT_EQ(s.overruns, 0);
        EXPECT_TRUE(fs::is_regular_file(document));
        EXPECT_NE(Contents(document), "earlier");
    }
}

TEST(TodayLine, OnTwentyNinthFebruaryOfACommonEnteredYearSaysThereIsNoSuchDay) {
    // Today is 29 February 2004, the year entered is 2005.
    Session s("feb29", MakeDate(2004, 2, 29, 12, 0, 0));
    TypeBern(s);
    s.Retype(kYearField, "2005");
    s.Click(kCalculateButton);
    s.Check([&] {
        EXPECT_EQ(s.w.ControlTextGet(kAboutLine),
                  "Today Sunday 2.29.2005   SS SR = no 29 February in 2005");
    });
    s.Click(kExitButton);
    s.RunMainWindowFromStart();
    EXPECT_TRUE(s.messages.empty());
    EXPECT_EQ(s.overruns, 0);
}
