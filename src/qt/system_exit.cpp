#include "qt/system_exit.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace vespar::qt {
namespace {

// A signal handler and Qt's message handler can reach only static storage: the signal pipe,
// and the watch's handler that a lost display is reported to.
int signalPipe[2] = {-1, -1};
std::function<void(const std::string&)>* displayLost = nullptr;

void OnSignal(int) {
    const char byte = 1;
    // Nothing to do when the pipe is full: one byte already waits.
    [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
}

void OnMessage(QtMsgType type, const QMessageLogContext&, const QString& message) {
    const QByteArray text = message.toLocal8Bit();
    std::fprintf(stderr, "%s\n", text.constData());
    // Qt ends the process right after this warning; the log says why first.
    if (type == QtWarningMsg && message.startsWith("The X11 connection broke") && displayLost) {
        (*displayLost)("NoDisplay");
    }
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "Vespar cannot start: no display to show its window on.\n");
        std::fflush(stderr);
        std::_Exit(1);
    }
}

}  // namespace

void SystemExitWatch::ReportFatalMessages() { qInstallMessageHandler(&OnMessage); }

SystemExitWatch::SystemExitWatch(std::function<void(const std::string& why)> onEnd)
    : onEnd_(std::move(onEnd)) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) == 0) {
        notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
            }
            onEnd_("");
        });
        struct sigaction action = {};
        action.sa_handler = &OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &action, nullptr);
    }
    // The session manager ends the application at logout: quit comes from outside.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { onEnd_(""); });
    displayLost = &onEnd_;
}

SystemExitWatch::~SystemExitWatch() {
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &action, nullptr);
    if (displayLost == &onEnd_) displayLost = nullptr;
    for (int& fd : signalPipe) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
}

}  // namespace vespar::qt
