#include "window_test_support.h"

#include "text/code_page.h"
#include "ui/main_window_controls.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <Qt>

#include <algorithm>

namespace {

class ControlTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(w.WindowOpen(0, 0, 0, 780, 498, kCaptionWithClose | kSizable, "main"));
        ASSERT_TRUE(w.WindowSelectForControls(0));
        w.FieldFilterSet(MainWindowFieldFilter);  // the program's rule, as it hands it down
    }
    int Count(const std::vector<int>& events, int control) {
        return static_cast<int>(std::count(events.begin(), events.end(), control));
    }
};

TEST_F(ControlTest, OptionGroupsAreRunsOfConsecutiveOptionsSplitByOtherControls) {
    w.OptionAdd(9, 240, 230, 47, 20, "east");
    w.OptionAdd(10, 290, 230, 47, 20, "west");
    w.ProgressBarAdd(19, 30, 430, 720, 30, 1, 365);  // does not end the run
    w.OptionAdd(40, 340, 230, 47, 20, "third");
    w.LabelAdd(11, 40, 270, 100, 20, "Input Latitude");  // ends it
    w.OptionAdd(13, 240, 270, 47, 20, "north");
    w.OptionAdd(14, 290, 270, 47, 20, "south");
    w.ControlStateSet(10, 1);
    w.ControlStateSet(13, 1);

    t.SimulateClick(9);
    t.SimulateClick(14);
    EXPECT_EQ(TakeEventsUntilClose(0), (std::vector<int>{9, 14}));
    EXPECT_EQ(w.ControlStateGet(9), 1);
    EXPECT_EQ(w.ControlStateGet(10), 0);
    EXPECT_EQ(w.ControlStateGet(40), 0);
    EXPECT_EQ(w.ControlStateGet(13), 0);
    EXPECT_EQ(w.ControlStateGet(14), 1);

    // Clicking a checked option keeps it checked.
    t.SimulateClick(14);
    TakeEventsUntilClose(0);
    EXPECT_EQ(w.ControlStateGet(14), 1);
}

TEST_F(ControlTest, SettingOneOptionOfAGroupLeavesItsPartnerAsItWas) {
    w.OptionAdd(34, 540, 330, 87, 15, " EDITOR.TXT");
    w.OptionAdd(35, 540, 350, 87, 15, " WORD.WRI");
    w.ControlStateSet(34, 1);
    w.ControlStateSet(35, 1);
    EXPECT_EQ(w.ControlStateGet(34), 1);
    EXPECT_EQ(w.ControlStateGet(35), 1);
    w.ControlStateSet(34, 0);
    EXPECT_EQ(w.ControlStateGet(34), 0);
    EXPECT_EQ(w.ControlStateGet(35), 1);
}

TEST_F(ControlTest, AFrameCreatedAfterItsControlsLetsTheirClicksThrough) {
    w.OptionAdd(23, 240, 310, 90, 20, " 10 - Mode");
    w.OptionAdd(25, 240, 330, 90, 20, " 60 - Mode");
    w.ControlStateSet(25, 1);
    w.CheckBoxAdd(17, 60, 250, 37, 30, "Yes");
    w.FrameAdd(26, 30, 200, 310, 160, "geogr. Coordinates");
    t.SimulateClick(23);
    t.SimulateClick(17);
    EXPECT_EQ(TakeEventsUntilClose(0), (std::vector<int>{23, 17}));
    EXPECT_EQ(w.ControlStateGet(23), 1);
    EXPECT_EQ(w.ControlStateGet(25), 0);
    EXPECT_EQ(w.ControlStateGet(17), 1);
    EXPECT_EQ(w.ControlTextGet(26), "geogr. Coordinates");
}

TEST_F(ControlTest, TabAndShiftTabVisitFocusableControlsInCreationOrderAndWrap) {
    w.InputFieldAdd(0, 150, 40, 70, 20, "2004");
    w.LabelAdd(1, 40, 40, 80, 20, "Input Year");
    w.OptionAdd(9, 240, 230, 47, 20, "east");
    w.OptionAdd(10, 290, 230, 47, 20, "west");
    w.CheckBoxAdd(17, 180, 110, 37, 30, "Yes");
    w.FrameAdd(26, 30, 200, 310, 160, "geogr. Coordinates");
    w.ProgressBarAdd(19, 30, 430, 720, 30, 1, 365);
    w.ButtonAdd(32, 660, 140, 90, 40, "NEW START", kToggle | kMultiLine);
    w.LineListAdd(60, 20, 300, 200, 100);

    t.SimulateTyping(0, "");  // the focus in the first field
    TakeEventsUntilClose(0);
    ASSERT_EQ(t.FocusedControl(), 0);
    std::vector<int> forward;
    for (int i = 0; i < 6; ++i) {
        t.SimulateKey(Qt::Key_Tab);
        TakeEventsUntilClose(0);
        forward.push_back(t.FocusedControl());
    }
    EXPECT_EQ(forward, (std::vector<int>{9, 10, 17, 32, 60, 0}));  // every option a stop

    std::vector<int> backward;
    for (int i = 0; i < 3; ++i) {
        t.SimulateKey(Qt::Key_Tab, true);
        TakeEventsUntilClose(0);
        backward.push_back(t.FocusedControl());
    }
    EXPECT_EQ(backward, (std::vector<int>{60, 32, 17}));
}

TEST_F(ControlTest, AToggleButtonClickedTwiceIsReleasedAgainAndReportsBothClicks) {
    w.ButtonAdd(20, 660, 200, 90, 40, "INFO", kToggle | kMultiLine);
    w.ButtonAdd(33, 660, 380, 90, 40, "EXIT");
    t.SimulateClick(20);
    EXPECT_EQ(TakeEventsUntilClose(0), std::vector<int>{20});
    EXPECT_EQ(w.ControlStateGet(20), 1);
    t.SimulateClick(20);
    t.SimulateClick(33);
    EXPECT_EQ(TakeEventsUntilClose(0), (std::vector<int>{20, 33}));
    EXPECT_EQ(w.ControlStateGet(20), 0);
    EXPECT_EQ(w.ControlStateGet(33), 0);  // a plain button has no state
    EXPECT_EQ(w.ControlTextGet(20), "INFO");
}

TEST_F(ControlTest, TypingIntoDigitsOnlyAndUpperCaseFields) {
    struct Case {
        unsigned options;
        std::string typed, shown;
        int changes;  // text-change notifications
    } cases[] = {
        {kDigitsOnly, "20a4", "204", 3},
        {kDigitsOnly, "x", "", 0},
        {kUpperCase, "abc", "ABC", 3},
        {kUpperCase, "stra\xDF" "e", "STRA\xDF" "E", 6},  // ß has no capital of its own
        {kUpperCase, "\xE9t\xE9", "\xC9T\xC9", 3},        // été
        {kUpperCase, "\xB5", "\xB5", 1},                  // µ: its capital is not in the code page
        {0, "Bonn 9.1", "Bonn 9.1", 8},
    };
    int number = 100;
    for (const Case& c : cases) {
        w.InputFieldAdd(number, 150, 40, 190, 20, "", c.options);
        t.SimulateTyping(number, c.typed);
        std::vector<int> events = TakeEventsUntilClose(0);
        EXPECT_EQ(w.ControlTextGet(number), c.shown) << c.typed;
        // Each change is a notification; gaining the focus is one more.
        EXPECT_EQ(Count(events, number), c.changes + 1) << c.typed;
        ++number;
    }
    // Texts the program sets are kept as given.
    w.ControlTextSet(106, "mixed Case");
    EXPECT_EQ(w.ControlTextGet(106), "mixed Case");
}

TEST_F(ControlTest, PastedAndDroppedTextPassesTheSameFilterAsTypedText) {
    using namespace std::string_literals;
    struct Case {
        unsigned options;
        std::string given, shown;  // code page 1252
    } cases[] = {
        {kUpperCase, "ab\ncd", "ABCD"},
        {kUpperCase, "x\r\ty\x1B" "z", "XYZ"},
        {kUpperCase, "AB\0CD"s, "ABCD"},
        {kUpperCase, "stra\xDF" "e \xE9t\xE9 \xB5", "STRA\xDF" "E \xC9T\xC9 \xB5"},
        {kDigitsOnly, "20a\n2 6", "2026"},
        {0, "9.1\t030\x7F\x81", "9.1030"},
        {0, "Bonn", "Bonn"},
    };
    auto toolkitText = [](const std::string& cp1252) { return QString::fromStdString(Cp1252ToUtf8(cp1252)); };
    int number = 100;
    for (const Case& c : cases) {
        // Pasted through the clipboard with the key a user presses.
        w.InputFieldAdd(number, 150, 40, 190, 20, "", c.options);
        t.SimulateTyping(number, "");  // the focus in the field
        TakeEventsUntilClose(0);
        QApplication::clipboard()->setText(toolkitText(c.given));
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(w.ControlTextGet(number), c.shown) << "pasted " << c.given;

        // Dropped onto the field.
        w.InputFieldAdd(number + 1, 150, 70, 190, 20, "", c.options);
        t.SimulateTyping(number + 1, "");
        TakeEventsUntilClose(0);
        QWidget* field = QApplication::focusWidget();
        ASSERT_NE(field, nullptr);
        QMimeData dropped;
        dropped.setText(toolkitText(c.given));
        const QPoint at(field->width() - 4, field->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &move);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &drop);
        EXPECT_EQ(w.ControlTextGet(number + 1), c.shown) << "dropped " << c.given;
        number += 2;
    }
    // Pasted into the middle of a text: only the pasted part changes, and the
    // cursor stands behind it.
    w.InputFieldAdd(120, 150, 40, 190, 20, "", kUpperCase);
    t.SimulateTyping(120, "ulm");
    TakeEventsUntilClose(0);
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(field, nullptr);
    field->setCursorPosition(1);
    QApplication::clipboard()->setText(QStringLiteral("x\ny"));
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w.ControlTextGet(120), "UXYLM");
    EXPECT_EQ(field->cursorPosition(), 3);
}

TEST_F(ControlTest, LineListsKeepTheOrderAddedAndProgressBarsStayInTheirRange) {
    w.LineListAdd(60, 20, 10, 680, 670);
    for (const char* line : {"zebra", "", "apple", "a line much wider than the list is cut at its edge"})
        w.LineListAppend(60, line);
    ASSERT_EQ(t.LineListCount(60), 4);
    EXPECT_EQ(t.LineListText(60, 0), "zebra");
    EXPECT_EQ(t.LineListText(60, 1), "");
    EXPECT_EQ(t.LineListText(60, 2), "apple");

    w.ProgressBarAdd(19, 30, 430, 720, 30, 1, 365);
    EXPECT_EQ(w.ControlStateGet(19), 1);
    w.ControlStateSet(19, 329);
    EXPECT_EQ(w.ControlStateGet(19), 329);
    w.ControlStateSet(19, 400);
    EXPECT_EQ(w.ControlStateGet(19), 365);
}

TEST_F(ControlTest, ASuggestionListIsWorkedFromItsFieldAndNeverTakesTheFocus) {
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 780, 498, kCaptionWithClose | kCompactText, "main"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.InputFieldAdd(6, 150, 160, 190, 20, "", kUpperCase);
    w.InputFieldAdd(8, 150, 230, 70, 20, "");
    w.SuggestionListAdd(37, 150, 181, 500, 240, 6);
    const std::string lines = "Z\xDCrich\tCH\nZug\tCH\nZunyi\tCN";
    w.ControlTextSet(37, lines);  // its field has not the focus: nothing to show
    EXPECT_FALSE(t.ControlGeometry(37).shown);
    constexpr int kClick = 0;  // into the list's middle
    const struct {
        std::vector<int> keys;
        int chosen, focus;
        std::string open;  // the lines still shown
    } cases[] = {
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}, 3, 6, ""},  // stops at the last
        {{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return}, 0, 6, lines},  // the mark back in the field
        {{Qt::Key_Escape}, 0, 6, ""},
        {{Qt::Key_Tab}, 0, 8, ""},  // no stop of its own
        {{kClick}, 2, 6, ""},
    };
    for (const auto& c : cases) {
        t.SimulateTyping(6, "zu");
        TakeEventsUntilClose(0);
        w.ControlTextSet(37, lines);
        const WindowLayerTesting::ControlFacts list = t.ControlGeometry(37);
        ASSERT_TRUE(list.shown);
        EXPECT_LT(list.height, 240);  // three lines take less than the room
        EXPECT_GE(list.fontPixels, 14);  // readable, though the window's face is compact
        for (int key : c.keys) key == kClick ? t.SimulateClick(37) : t.SimulateKey(key);
        const std::vector<int> events = TakeEventsUntilClose(0);
        EXPECT_EQ(w.ControlStateGet(37), c.chosen) << c.keys.front();
        EXPECT_EQ(Count(events, 37), c.chosen ? 1 : 0) << c.keys.front();
        EXPECT_EQ(w.ControlTextGet(37), c.open) << c.keys.front();
        EXPECT_EQ(t.FocusedControl(), c.focus) << c.keys.front();
        EXPECT_EQ(w.ControlTextGet(6), "ZU");
        w.ControlTextSet(6, "");
    }
}

TEST_F(ControlTest, ControlsWithoutAWindowForControlsAreAbsent) {
    w.WindowClose(0);
    w.LabelAdd(29, 490, 50, 250, 20, "about");
    EXPECT_EQ(w.ControlTextGet(29), "");
    w.ControlTextSet(29, "nothing");
    EXPECT_EQ(w.ControlTextGet(29), "");
}

}  // namespace
