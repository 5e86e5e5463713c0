/* The least a watcher of this kind must do: once a second read /proc/stat and /proc/net/dev
   and ask the X server for the pointer and the keymap. benchmarks/idle_cost.sh runs it beside
   the program as the yardstick of its idle cost. Build: cc -O2 minimal_reader.c -lX11 */
#include <X11/Xlib.h>
#include <fcntl.h>
#include <stdio.h>
#include <time.h>
#include <unistd.h>

static long ReadWhole(const char* path) {
    char buf[16384];
    long total = 0;
    int fd = open(path, O_RDONLY);
    if (fd < 0) return -1;
    for (ssize_t n; (n = read(fd, buf, sizeof buf)) > 0;) total += n;
    close(fd);
    return total;
}

int main(void) {
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "minimal_reader: no X display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    struct timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (;;) {
        ReadWhole("/proc/stat");
        ReadWhole("/proc/net/dev");
        Window r, c;
        int rx, ry, wx, wy;
        unsigned mask;
        char keys[32];
        XQueryPointer(display, root, &r, &c, &rx, &ry, &wx, &wy, &mask);
        XQueryKeymap(display, keys);
        next.tv_sec += 1;
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, NULL);
    }
}
