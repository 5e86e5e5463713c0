// A test tool run under Wine beside the program: it reaches the program's windows the way
// the system does. Usage:
//   win_probe post TITLE MESSAGE WPARAM LPARAM   posts a message to the window titled TITLE
//   win_probe texts TITLE                        prints the texts of that window's controls
//   win_probe move TITLE X Y                     moves that window to X, Y on the screen
// Exit code 0 when the window was found, 1 otherwise.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

BOOL CALLBACK PrintText(HWND control, LPARAM) {
    char text[512] = {};
    GetWindowTextA(control, text, sizeof text);
    std::printf("%s\n", text);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string command = argv[1];
    HWND window = FindWindowA(nullptr, argv[2]);
    if (window == nullptr) return 1;
    if (command == "post" && argc == 6) {
        const auto number = [](const char* s) { return std::strtoull(s, nullptr, 0); };
        return PostMessageA(window, static_cast<UINT>(number(argv[3])),
                            static_cast<WPARAM>(number(argv[4])),
                            static_cast<LPARAM>(number(argv[5])))
                   ? 0
                   : 1;
    }
    if (command == "move" && argc == 5) {
        return SetWindowPos(window, nullptr, std::atoi(argv[3]), std::atoi(argv[4]), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
                   ? 0
                   : 1;
    }
    if (command == "texts") {
        EnumChildWindows(window, &PrintText, 0);
        return 0;
    }
    return 2;
}
