// The Qt executable: a Qt event loop around the portable core and the platform's services.

#include <QApplication>
#include <QDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/program.h"
#include "platform/platform.h"
#include "qt/front_end.h"
#include "qt/qt_clock.h"
#include "qt/qt_datagram_socket.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_download_service.h"
#include "qt/qt_host_resolver.h"
#include "qt/start_up_environment.h"
#include "qt/system_exit.h"

namespace {

std::string CommandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        line += argv[i];
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    vespar::qt::SystemExitWatch::ReportFatalMessages();
    // Qt's own event dispatcher instead of glib's, whose main loop costs more at every wake-up
    // and which nothing here needs. Repaints go over the X connection instead of through shared
    // memory: they are small here, and each shared-memory repaint's completion notice wakes two
    // threads.
    std::optional<vespar::qt::StartUpEnvironment> startUp(std::in_place,
                                                          {"QT_NO_GLIB", "QT_XCB_NO_MITSHM"});
    QApplication app(argc, argv);
    startUp.reset();
    app.setQuitOnLastWindowClosed(false);
    // The program folder holds Data/ and Log/; relative paths are read against it.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    vespar::qt::QtClock clock;
    vespar::qt::QtDialogs dialogs;
    const std::unique_ptr<vespar::Platform> platform = vespar::OpenPlatform();
    // Datagrams, lookup answers and download notices enter through the front-end's event
    // boundary.
    std::function<void(const std::function<void()>&)> deliver;
    const auto sink = [&deliver](const std::function<void()>& event) { deliver(event); };
    vespar::qt::QtDatagramSocket socket(sink);
    vespar::qt::QtHostResolver resolver(sink);
    vespar::qt::QtDownloadService downloads(sink);
    vespar::Program program(clock, dialogs, platform->Guard(), platform->Process(),
                            platform->Ports(), {socket, resolver, downloads},
                            QCoreApplication::applicationDirPath().toStdString());

    vespar::qt::FrontEnd frontEnd(program, clock);
    deliver = [&frontEnd](const std::function<void()>& event) { frontEnd.Deliver(event); };
    // Signals, the session's end and a lost display run the program's own exit.
    const vespar::qt::SystemExitWatch systemExit([&](const std::string& why) {
        if (!frontEnd.ended()) frontEnd.Deliver([&] { program.EndBySystem(why); });
    });
    if (!frontEnd.Start(CommandLine(argc, argv))) return frontEnd.exitCode();
    frontEnd.StartTimers();
    const int rc = app.exec();
    return frontEnd.ended() ? frontEnd.exitCode() : rc;
}
