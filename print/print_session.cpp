#include "print/print_session.h"

#include <QGuiApplication>
#include <QHashSeed>

namespace {

// The toolkit's notes on its platform (a runtime folder not set, and the
// like) are no business of a user who asked for a file.
void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

struct PrintSession::Started {
    Started() : previous(qInstallMessageHandler(Quiet)) {
        // The writer orders a font's glyphs through hash tables: a fixed
        // seed gives the same file for the same year in every run.
        QHashSeed::setDeterministicGlobalSeed();
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    ~Started() {
        application.reset();
        qInstallMessageHandler(previous);
    }
    QtMessageHandler previous;
    // The application keeps references to both for its whole life.
    int argc = 3;
    char name[16] = "kelmorven";
    char option[16] = "-platform";
    char platform[16] = "offscreen";
    char* argv[4] = {name, option, platform, nullptr};
    std::unique_ptr<QGuiApplication> application;
};

PrintSession::PrintSession() {
    if (!QCoreApplication::instance()) started_ = std::make_unique<Started>();
}

PrintSession::~PrintSession() = default;
