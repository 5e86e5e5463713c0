// The Linux executable: a Qt event loop around the portable core.

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <string>

#include "app/program.h"
#include "base/program_exit.h"
#include "platform/linux/lock_file_guard.h"
#include "platform/linux/process_priority.h"
#include "qt/qt_clock.h"
#include "qt/qt_dialogs.h"
#include "qt/screen_window.h"

namespace {

using vespar::ProgramExit;
using vespar::qt::ScreenWindow;

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
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    // The program folder holds Data/ and Log/; relative paths are read against it.
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    vespar::qt::QtClock clock;
    vespar::qt::QtDialogs dialogs;
    vespar::linux_platform::LockFileGuard guard;
    vespar::linux_platform::ProcessPriority priority;
    vespar::Program program(clock, dialogs, guard, priority,
                            QCoreApplication::applicationDirPath().toStdString());

    std::unique_ptr<ScreenWindow> window;
    bool ended = false;
    int exitCode = 0;

    // The event boundary: a ProgramExit from anywhere in the core ends the program here.
    ScreenWindow::EventSink boundary = [&](const std::function<void()>& event) {
        if (ended) return;
        try {
            event();
        } catch (const ProgramExit& e) {
            ended = true;
            exitCode = e.code;
            QCoreApplication::exit(e.code);
            return;
        }
        if (window) window->Refresh();
    };

    vespar::Program::Window which = vespar::Program::Window::Main;
    boundary([&] { which = program.Enter(CommandLine(argc, argv)); });
    if (ended) return exitCode;

    if (which == vespar::Program::Window::MultiInst) {
        window = std::make_unique<ScreenWindow>(program.multiInst(), boundary);
        auto* layout = new QVBoxLayout(window.get());
        window->AddLabel(layout, "ErrorMess");
        window->AddButton(layout, "Exit");
        window->setFixedSize(window->sizeHint());
    } else {
        boundary([&] { program.LoadMainWindow(); });
        if (ended) return exitCode;
        auto& model = program.mainWindow();
        model.OnClick("#activate", [&program] { program.ActivateMainWindow(); });
        window = std::make_unique<ScreenWindow>(model, boundary);
        auto* layout = new QVBoxLayout(window.get());
        for (const char* name : {"Title", "Counter", "CPULoad", "DLLoad"}) {
            window->AddLabel(layout, name);
        }
        auto* buttons = new QHBoxLayout;
        layout->addLayout(buttons);
        for (const char* name : {"TestS", "Config", "Update", "Reset", "About", "Exit"}) {
            window->AddButton(buttons, name);
        }
        // The core's timers run on the event loop; the registry decides which are due.
        auto* pump = new QTimer(&app);
        QObject::connect(pump, &QTimer::timeout,
                         [&] { boundary([&] { program.timers().RunDue(clock.tickMs()); }); });
        pump->start(10);
    }
    window->Refresh();
    window->show();
    if (ended) return exitCode;
    const int rc = app.exec();
    return ended ? exitCode : rc;
}
