#include "window_test_support.h"

#include "window/window_geometry.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <type_traits>
#include <utility>

namespace {

constexpr unsigned kDialog = kCaptionWithClose;

TEST_F(WindowTest, ReopeningAWindowNumberReplacesTheWindowAndAllItsControls) {
    ASSERT_TRUE(w.WindowOpen(0, 10, 10, 300, 200, kDialog, "first"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.InputFieldAdd(0, 10, 10, 70, 20, "1999");
    w.CheckBoxAdd(17, 10, 40, 60, 20, "Yes");
    w.ControlStateSet(17, 1);
    w.ProgressBarAdd(19, 10, 70, 200, 20, 1, 365);
    w.ControlStateSet(19, 200);

    ASSERT_TRUE(w.WindowOpen(0, 10, 10, 300, 200, kDialog, "second"));
    EXPECT_EQ(t.WindowTitle(0), "second");
    // The old controls went with the old window; their numbers read empty.
    EXPECT_EQ(w.ControlTextGet(0), "");
    EXPECT_EQ(w.ControlStateGet(17), 0);
    EXPECT_EQ(w.ControlStateGet(19), 0);
    // Nothing goes to a closed window, and the new one takes the new controls.
    w.ControlTextSet(0, "x");
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.InputFieldAdd(0, 10, 10, 70, 20, "2004");
    w.CheckBoxAdd(17, 10, 40, 60, 20, "Yes");
    w.ProgressBarAdd(19, 10, 70, 200, 20, 1, 365);
    EXPECT_EQ(w.ControlTextGet(0), "2004");
    EXPECT_EQ(w.ControlStateGet(17), 0);
    EXPECT_EQ(w.ControlStateGet(19), 1);

    w.WindowClose(0);
    EXPECT_FALSE(t.WindowIsOpen(0));
    EXPECT_FALSE(w.WindowSelectForControls(0));
}

TEST_F(WindowTest, WindowNumbersAndControlNumbersGrowBeyondTheirFirstTables) {
    ASSERT_TRUE(w.WindowOpen(25, 0, 0, 200, 100, kDialog, "far"));
    ASSERT_TRUE(w.WindowSelectForControls(25));
    w.LabelAdd(95, 5, 5, 100, 20, "far label");
    EXPECT_EQ(w.ControlTextGet(95), "far label");
    EXPECT_EQ(w.ControlTextGet(400), "");  // beyond the table: empty, no harm
    w.ControlStateSet(400, 1);
    EXPECT_FALSE(w.WindowOpen(-1, 0, 0, 10, 10, kDialog, "negative"));
}

TEST_F(WindowTest, TitlesAndTextsCrossAsCodePage1252) {
    const std::string degrees = "9\xB0" "10'30'' Stra\xDF" "e \x80";
    ASSERT_TRUE(w.WindowOpen(1, 0, 0, 300, 100, kDialog, degrees));
    EXPECT_EQ(t.WindowTitle(1), degrees);
    ASSERT_TRUE(w.WindowSelectForControls(1));
    w.LabelAdd(18, 5, 5, 200, 20, degrees);
    EXPECT_EQ(w.ControlTextGet(18), degrees);
}

TEST(WindowPlacement, CentringHalvesTheSmallerOfWindowAndScreen) {
    struct Case {
        int edge, screen, outer, expected;
    } cases[] = {
        {0, 800, 200, 300},   // fits: centred
        {0, 800, 201, 300},   // halves are truncated
        {0, 800, 1020, 0},    // larger than the screen: starts at its edge
        {0, 1024, 1020, 2},
        {1280, 800, 200, 1580},  // a screen that does not start at 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(CentreOnScreen(c.edge, c.screen, c.outer), c.expected) << c.outer;

    EXPECT_EQ(CentreOnWindow(100, 800, 400), 300);
    EXPECT_EQ(CentreOnWindow(0, 300, 1020), 0);  // raised to 0 when negative
    EXPECT_EQ(CentreOnWindow(-50, 100, 60), 0);
}

QWidget* TopLevel(const std::string& title) {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->windowTitle() == QString::fromStdString(title)) return widget;
    return nullptr;
}

TEST_F(WindowTest, CentredWindowsOnTheTestScreen) {
    // The offscreen platform's screen is 800 pixels wide.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    ASSERT_EQ(screen.width(), 800);
    ASSERT_TRUE(w.WindowOpen(4, 129, 3, 1020, 707, kDialog | kCentredOnScreen, "Zeitzonenkarte"));
    WindowLayerTesting::WindowPlace map = t.WindowGeometry(4);
    EXPECT_EQ(map.x, 0);  // wider than the screen: at its left edge
    EXPECT_EQ(map.width, 1020);
    EXPECT_EQ(map.height, 707);
    TakeEventsUntilClose(4);  // on the screen, with its frame known

    ASSERT_TRUE(w.WindowOpen(0, 5, 5, 650, 430, kDialog | kCentredOnScreen, "greeting"));
    QWidget* greeting = TopLevel("greeting");
    ASSERT_TRUE(greeting);
    TakeEventsUntilClose(0);
    EXPECT_NEAR(greeting->frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(greeting->frameGeometry().center().y(), screen.center().y(), 1);
    EXPECT_EQ(greeting->width(), 650);

    ASSERT_TRUE(w.WindowOpen(1, 0, 0, 200, 100, kDialog | kCentredOnActive, "over the active"));
    QWidget* over = TopLevel("over the active");
    ASSERT_TRUE(over);
    TakeEventsUntilClose(1);
    EXPECT_NEAR(over->frameGeometry().center().x(), greeting->frameGeometry().center().x(), 1);
    EXPECT_NEAR(over->frameGeometry().center().y(), greeting->frameGeometry().center().y(), 1);

    ASSERT_TRUE(w.WindowOpen(3, 129, 3, 200, 100, kDialog | kSizable, "Info"));
    EXPECT_EQ(t.WindowGeometry(3).x, 129);
    EXPECT_EQ(t.WindowGeometry(3).y, 3);
}

TEST_F(WindowTest, CloseRequestsCloseNothingAndComeFromAnyWindow) {
    // The main window's close box while a secondary window waits for its own.
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 300, 200, kDialog | kSizable, "main"));
    ASSERT_TRUE(w.WindowOpen(3, 0, 0, 300, 200, kDialog | kSizable, "Info"));
    t.SimulateCloseRequest(0);
    EXPECT_EQ(w.EventWait(), EventKind::CloseRequest);
    EXPECT_TRUE(t.WindowIsOpen(0));
    EXPECT_TRUE(t.WindowIsOpen(3));

    t.SimulateCloseRequest(3);
    EXPECT_EQ(w.EventWait(), EventKind::CloseRequest);
    EXPECT_TRUE(t.WindowIsOpen(3));
}

TEST_F(WindowTest, InputGivenDuringAPauseWaitsForTheNextEventWait) {
    t.Test().pauseScale = 1.0;
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 300, 200, kDialog, "main"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.ButtonAdd(20, 10, 10, 90, 40, "INFO", kToggle);
    t.SimulateClick(20);
    w.Pause(30);
    EXPECT_EQ(w.ControlStateGet(20), 0);  // not acted on yet
    EXPECT_EQ(TakeEventsUntilClose(0), std::vector<int>{20});
    EXPECT_EQ(w.ControlStateGet(20), 1);
}

TEST_F(WindowTest, ClicksThatArriveTogetherAreActedOnOneEventAtATime) {
    // CALCULATE, then an option, clicked before the program takes either:
    // the option changes only after the program has taken the first click.
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 300, 200, kDialog, "together"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.ButtonAdd(22, 10, 10, 90, 40, "CALCULATE");
    w.OptionAdd(9, 10, 60, 60, 20, "east");
    w.OptionAdd(10, 80, 60, 60, 20, "west");
    w.ControlStateSet(10, 1);
    QWindow* window = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->windowTitle() == QStringLiteral("together")) window = top->windowHandle();
    ASSERT_NE(window, nullptr);
    auto centre = [this](int control) {
        WindowLayerTesting::ControlFacts at = t.ControlGeometry(control);
        return QPoint(at.x + 6, at.y + at.height / 2);
    };
    // Given by the platform, as a user's clicks are, while the program waits.
    bool given = false;
    t.Test().onIdle = [&] {
        if (std::exchange(given, true)) return;
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre(22) + QPoint(30, 0));
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centre(9));
    };
    ASSERT_EQ(w.EventWait(), EventKind::ControlEvent);
    EXPECT_EQ(w.EventControl(), 22);
    EXPECT_EQ(w.ControlStateGet(9), 0);
    EXPECT_EQ(w.ControlStateGet(10), 1);
    EXPECT_EQ(TakeEventsUntilClose(0), std::vector<int>{9});
    EXPECT_EQ(w.ControlStateGet(9), 1);
    EXPECT_EQ(w.ControlStateGet(10), 0);
}

TEST_F(WindowTest, InputQueuedForAWindowDiesWithIt) {
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 300, 200, kDialog, "greeting"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.ButtonAdd(20, 10, 10, 90, 40, "OLD");
    t.SimulateClick(20);
    t.SimulateCloseRequest(0);
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 300, 200, kDialog, "main"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.ButtonAdd(33, 10, 10, 90, 40, "EXIT");
    t.SimulateClick(33);
    EXPECT_EQ(w.EventWait(), EventKind::ControlEvent);
    EXPECT_EQ(w.EventControl(), 33);
}

TEST_F(WindowTest, PausesAndTonesReturnAtOnceWhenTestsScaleThemToNothing) {
    auto start = std::chrono::steady_clock::now();
    w.Pause(6000);
    w.ToneBeep(1000, 3000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

TEST_F(WindowTest, MessagesGoToTheTestHookWhenOneIsSet) {
    std::vector<std::string> shown;
    t.Test().onMessage = [&](const std::string& title, const std::string& text) {
        shown.push_back(title + "|" + text);
    };
    w.MessageShow("Achtung!", "No answer from keyboard");
    EXPECT_EQ(shown, std::vector<std::string>{"Achtung!|No answer from keyboard"});
}

// The pixel height of the font a widget shows its text in.
int FontPixels(const QWidget* widget) { return widget ? QFontInfo(widget->font()).pixelSize() : 0; }

template <class Kind>
Kind* WidgetShowing(const QString& text) {
    for (QWidget* widget : QApplication::allWidgets()) {
        auto* found = qobject_cast<Kind*>(widget);
        if (!found) continue;
        if constexpr (std::is_same_v<Kind, QListWidget>) {
            if (found->count() > 0 && found->item(0)->text() == text) return found;
        } else if (found->text() == text) {
            return found;
        }
    }
    return nullptr;
}

// The main window keeps the narrow face its fixed-size captions were laid
// out for; every other window, and every message box, reads at the
// desktop's normal size; a display window shows its digit large.
TEST_F(WindowTest, TextsTakeTheSizeTheirWindowsStyleAsksForAndMessageBoxesTheNormalSize) {
    ASSERT_TRUE(w.WindowOpen(0, 0, 0, 300, 100, kDialog | kCompactText, "compact"));
    ASSERT_TRUE(w.WindowSelectForControls(0));
    w.LabelAdd(1, 5, 5, 200, 20, "compact label");
    ASSERT_TRUE(w.WindowOpen(3, 0, 0, 300, 200, kDialog | kSizable, "normal"));
    ASSERT_TRUE(w.WindowSelectForControls(3));
    w.LabelAdd(2, 5, 5, 200, 20, "normal label");
    w.LineListAdd(60, 5, 30, 200, 100);
    w.LineListAppend(60, "normal line");
    ASSERT_TRUE(w.WindowOpen(1, 0, 0, 320, 80, kDialog | kCentredOnScreen | kLargeText, "large"));
    ASSERT_TRUE(w.WindowSelectForControls(1));
    w.LabelAdd(62, 0, 0, 320, 80, "1", Alignment::Centre);

    EXPECT_EQ(FontPixels(WidgetShowing<QLabel>("compact label")), 10);
    const int normal = FontPixels(WidgetShowing<QLabel>("normal label"));
    EXPECT_GE(normal, 12);
    EXPECT_EQ(FontPixels(WidgetShowing<QListWidget>("normal line")), normal);
    QLabel* digit = WidgetShowing<QLabel>("1");
    ASSERT_NE(digit, nullptr);
    EXPECT_GE(FontPixels(digit), 3 * normal);
    EXPECT_LE(QFontMetrics(digit->font()).height(), digit->height()) << "the digit is cut";

    int boxPixels = 0;
    QTimer::singleShot(0, [&boxPixels] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QLabel* label : box->findChildren<QLabel*>())
            if (label->text().startsWith(u"No umlauts")) boxPixels = FontPixels(label);
        box->done(0);
    });
    w.MessageShow("Achtung bei Ort!", "No umlauts accepated: \xC4, \xD6, \xDC, \xDF");
    EXPECT_GE(boxPixels, 12);
}

TEST_F(WindowTest, KeyboardAndUserNameAreAvailable) {
    EXPECT_TRUE(WindowLayer::DisplayAvailable());
    EXPECT_TRUE(w.KeyboardInit());
    EXPECT_FALSE(w.UserName().empty());
}

}  // namespace
