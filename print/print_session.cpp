#include "print/print_session.h"

#include <QGuiApplication>
#include <QHashSeed>

#include <cstdio>

namespace {

// The toolkit's notes on its platform (a runtime folder not set, and the
// like) are no business of a user who asked for a file; but a fatal
// message, after which the toolkit ends the process, says why no file came.
void Quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) std::fprintf(stderr, "kelmorven: the printing toolkit failed: %s\n", qPrintable(message.trimmed()));
}

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
