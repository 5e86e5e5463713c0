// The least a Qt Widgets watcher of this kind costs: a window of five lines, the same 500 ms
// timer, and every second the minimal reader's work (read /proc/stat and /proc/net/dev, ask the
// X server for the pointer and the keymap) plus one line drawn again with a figure that moves,
// as an idle machine's processor load does. With --no-redraw the line keeps its text, which
// shows what drawing the line costs. benchmarks/idle_cost.sh runs it beside the program.
// Build: c++ -O2 -fPIC qt_floor.cpp $(pkg-config --cflags --libs Qt6Widgets) -lX11
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <array>
#include <cstring>
// After Qt, whose headers use names that Xlib defines as macros.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

void ReadWhole(int fd) {
    std::array<char, 16384> buf;
    for (off_t at = 0; const ssize_t n = pread(fd, buf.data(), buf.size(), at);) {
        if (n < 0) return;
        at += n;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool redraw = !(argc > 1 && std::strcmp(argv[1], "--no-redraw") == 0);
    QApplication app(argc, argv);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    const int stat = open("/proc/stat", O_RDONLY);
    const int dev = open("/proc/net/dev", O_RDONLY);

    QWidget window;
    window.setWindowTitle("Qt floor");
    auto* layout = new QVBoxLayout(&window);  // owned by the window, as are the labels
    std::array<QLabel*, 5> lines{};
    for (QLabel*& line : lines) {
        line = new QLabel("Power Off if there is no activity for 30 min");
        layout->addWidget(line);
    }
    window.show();

    QTimer tick;
    int ticks = 0;
    int figure = 0;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (++ticks % 2 != 0) return;  // one second in two ticks
        ReadWhole(stat);
        ReadWhole(dev);
        Window root = 0, child = 0;
        int rootX = 0, rootY = 0, x = 0, y = 0;
        unsigned mask = 0;
        std::array<char, 32> keys{};
        XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y,
                      &mask);
        XQueryKeymap(display, keys.data());
        figure = (figure + 1) % 3;
        if (redraw) lines[2]->setText(QString("CPU:  %1%").arg(figure));
    });
    tick.start(500);
    return QApplication::exec();
}
