// Numbered top-level windows: opening with the style's frame and placement,
// closing, and the window that receives new controls.
#include "text/code_page.h"
#include "window/fonts.h"
#include "window/layer_impl.h"
#include "window/window_geometry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

namespace {

// The program's icon: a sun half over the horizon.
QIcon DrawProgramIcon() {
    QPixmap pixmap(32, 32);
    pixmap.fill(QColor(70, 110, 190));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 190, 40));
    painter.drawEllipse(QPointF(16, 20), 10, 10);
    painter.setBrush(QColor(40, 70, 40));
    painter.drawRect(0, 20, 32, 12);
    painter.end();
    return QIcon(pixmap);
}

Qt::WindowFlags FlagsFor(unsigned style) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (style & kCaptionWithClose) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    return flags;
}

}  // namespace

LayerWindow::LayerWindow(std::function<void(LayerWindow*)> onCloseRequest)
    : QWidget(nullptr, Qt::Window), onCloseRequest_(std::move(onCloseRequest)) {}

void LayerWindow::closeEvent(QCloseEvent* event) {
    event->ignore();  // closing is the program's decision
    if (onCloseRequest_) onCloseRequest_(this);
}

unsigned WindowTable::FrameKind(unsigned style) { return style & (kCaptionWithClose | kSizable); }

bool WindowLayer::WindowOpen(int number, int x, int y, int width, int height, unsigned style,
                             const std::string& title) {
    LayerState& d = *impl_;
    if (number < 0 || width < 0 || height < 0) return false;
    d.NoteFrameMargins();  // also from the window about to be replaced
    WindowClose(number);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
    if (number >= static_cast<int>(d.windows.size())) d.windows.resize(number + 10);

    QWidget* active = QApplication::activeWindow();
    if (!d.IsProgramWindow(active)) active = nullptr;

    auto* window = new LayerWindow([&d](LayerWindow* w) { d.Queue(EventKind::CloseRequest, -1, w); });
    window->style = style;
    window->setWindowFlags(FlagsFor(style));
    window->setWindowTitle(QString::fromStdString(Cp1252ToUtf8(title)));
    // One icon for every window: the toolkit keeps the sizes it makes of an
    // icon in its picture cache, and each new icon would add its own.
    if (d.programIcon.isNull()) d.programIcon = DrawProgramIcon();
    window->setWindowIcon(d.programIcon);
    window->setFont(FontForStyle(style));  // its controls inherit it
    window->setCursor(Qt::ArrowCursor);
    window->setAutoFillBackground(true);
    if (style & kSizable) {
        window->resize(width, height);
    } else {
        window->setFixedSize(width, height);
    }

    if (style & (kCentredOnScreen | kCentredOnActive)) {
        QPoint centred = d.CentredPosition(QSize(width, height), style, active);
        x = centred.x();
        y = centred.y();
        window->centring = style;
        window->centringPending = !d.FrameKnown(style);
        window->centredOn = active;
    }
    window->move(x, y);  // a top-level window's position is that of its frame

    d.windows[number] = window;
    d.current = window;
    if (!(style & kHidden)) window->show();
    return true;
}

void WindowLayer::WindowClose(int number) {
    LayerState& d = *impl_;
    if (number < 0 || number >= static_cast<int>(d.windows.size()) || !d.windows[number]) return;
    LayerWindow* window = d.windows[number];
    d.windows[number] = nullptr;
    if (d.optionGroup && d.optionGroup->parent() == window) d.EndOptionRun();
    // Input still queued for the window dies with it.
    d.DropFor(window);
    window->hide();
    delete window;
}

void WindowLayer::WindowCloseAll() {
    for (int number = static_cast<int>(impl_->windows.size()) - 1; number >= 0; --number)
        WindowClose(number);
}

bool WindowLayer::WindowSelectForControls(int number) {
    LayerState& d = *impl_;
    if (number < 0 || number >= static_cast<int>(d.windows.size()) || !d.windows[number]) return false;
    if (d.selected != d.windows[number]) d.EndOptionRun();
    d.selected = d.windows[number];
    return true;
}


// Frames are known only for windows already on the screen; the last one seen
// of a kind stands for the frame of a window of that kind about to be opened.
void WindowTable::NoteFrameMargins() {
    for (const QPointer<LayerWindow>& open : windows) {
        if (!open || !open->isVisible() || !open->windowHandle()) continue;
        QMargins margins = open->windowHandle()->frameMargins();
        if (margins.isNull()) continue;
        frameMargins[FrameKind(open->style)] = margins;
        if (open->centringPending) {
            open->centringPending = false;
            open->move(CentredPosition(open->size(), open->centring, open->centredOn));
        }
    }
}

QMargins WindowTable::FrameFor(unsigned style) const {
    if (auto known = frameMargins.find(FrameKind(style)); known != frameMargins.end()) return known->second;
    return frameMargins.empty() ? QMargins() : frameMargins.begin()->second;
}

QPoint WindowTable::CentredPosition(QSize client, unsigned style, QWidget* active) const {
    const QMargins frame = FrameFor(style);
    const int outerWidth = client.width() + frame.left() + frame.right();
    const int outerHeight = client.height() + frame.top() + frame.bottom();
    if ((style & kCentredOnActive) && active) {
        QRect frame = active->frameGeometry();
        return {CentreOnWindow(frame.left(), frame.width(), outerWidth),
                CentreOnWindow(frame.top(), frame.height(), outerHeight)};
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->geometry() : QRect();
    return {CentreOnScreen(area.left(), area.width(), outerWidth),
            CentreOnScreen(area.top(), area.height(), outerHeight)};
}

bool WindowTable::IsProgramWindow(const QWidget* window) const {
    if (!window) return false;
    for (const QPointer<LayerWindow>& open : windows)
        if (open && open == window) return true;
    return false;
}

