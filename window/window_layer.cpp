// The layer's life, and the services that need no window: the keyboard check,
// the user name, pauses and message boxes.
#include "text/code_page.h"
#include "text/text_slices.h"
#include "window/fonts.h"
#include "window/jpeg_decoder.h"
#include "window/layer_impl.h"

#include <QEventLoop>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDevice>
#include <QIcon>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A message box is as wide as its text needs; the window manager then cuts
// a longer title. Widen it to the title in a bold title-bar font of about
// this size, with room for the title bar's icon and buttons, within the screen.
constexpr int kTitleFontPixels = 12;
constexpr int kTitleBarExtras = 120;

void WidenForTitle(QMessageBox& box) {
    QFont titleFont = QApplication::font();
    titleFont.setPixelSize(kTitleFontPixels);
    titleFont.setBold(true);
    int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarExtras;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        width = std::min(width, screen->availableGeometry().width() * 9 / 10);
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    // The box sets its own size from its layout: a blank item of that width
    // across the bottom row makes the layout, and so the box, at least that wide.
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

WindowLayer::WindowLayer() : impl_(std::make_unique<Impl>()) {
    if (!QApplication::instance()) {
        impl_->ownApplication = std::make_unique<QApplication>(impl_->argc, impl_->argv);
    }
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(NormalFont());
    // The toolkit's picture readers make no image beyond what a window can
    // show (4 bytes a pixel), also where a reader cannot tell the size first.
    QImageReader::setAllocationLimit(static_cast<int>(kMaxPicturePixels * 4 / (1024 * 1024)) + 1);
    impl_->filter = std::make_unique<LayerEventFilter>(*impl_);
    QApplication::instance()->installEventFilter(impl_->filter.get());
}

WindowLayer::~WindowLayer() {
    impl_->ReleaseSounds();
    WindowCloseAll();
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(impl_->filter.get());
    impl_->decoders.clear();
    impl_->pictures.clear();
    impl_->programIcon = QIcon();
    impl_->ownApplication.reset();
}

bool WindowLayer::DisplayAvailable() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return true;
    // The toolkit ends the process when it cannot reach a display, so ask a
    // child process, with its messages silenced.
    pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            ::dup2(devNull, 1);
            ::dup2(devNull, 2);
        }
        int argc = 1;
        char name[] = "kelmorven";
        char* argv[] = {name, nullptr};
        { QGuiApplication probe(argc, argv); }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool WindowLayer::KeyboardInit() {
    // Keyboard input comes through the toolkit's platform connection; it
    // reports the keyboard it takes input from.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return false;
    if (QGuiApplication::platformName() == QLatin1String("minimal")) return false;
    return QInputDevice::primaryKeyboard() != nullptr;
}

std::string WindowLayer::UserName() {
    std::string name;
    if (const passwd* user = ::getpwuid(::getuid()); user && user->pw_name) {
        name = user->pw_name;
    } else if (const char* login = ::getlogin()) {
        name = login;
    }
    return TextSliceLeft(Utf8ToCp1252(name), 1023);
}

void WindowLayer::Pause(int milliseconds) {
    impl_->WaitWithoutInput(milliseconds * impl_->testing.pauseScale);
}

void LayerState::WaitWithoutInput(double milliseconds) {
    if (milliseconds <= 0) return;
    auto duration = std::chrono::microseconds(static_cast<long long>(milliseconds * 1000.0));
    if (!QCoreApplication::instance()) {
        std::this_thread::sleep_for(duration);
        return;
    }
    // A nested loop that leaves user input in the platform's queue: windows
    // are painted and the window manager answered, clicks and keys wait.
    auto end = std::chrono::steady_clock::now() + duration;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        // In slices, so that a window that appeared meanwhile gets its place.
        timer.start(static_cast<int>(std::min<long long>(left.count(), 50)));
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        NoteFrameMargins();
    }
    while (std::chrono::steady_clock::now() < end) std::this_thread::yield();
}

void WindowLayer::MessageShow(const std::string& title, const std::string& text) {
    if (impl_->testing.onMessage) {
        impl_->testing.onMessage(title, text);
        return;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    QWidget* owner = QApplication::activeWindow();
    if (!impl_->IsProgramWindow(owner)) owner = nullptr;
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(Cp1252ToUtf8(title)),
                    QString::fromStdString(Cp1252ToUtf8(text)), QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setFont(NormalFont());  // whatever the window it belongs to shows
    WidenForTitle(box);
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setIcon(QIcon());  // no icon at all
    box.setWindowModality(Qt::ApplicationModal);  // no program window takes input meanwhile
    box.exec();
}

void WindowLayer::RegisterJpegDecoder() {
    if (impl_->jpegRegistered) return;
    impl_->decoders.push_back(MakeJpegDecoder());
    impl_->jpegRegistered = true;
}
