// The Windows executable: a Win32 message loop around the portable core and the platform's
// services.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/program.h"
#include "platform/platform.h"
#include "win32/front_end.h"
#include "win32/net/message_window.h"
#include "win32/net/winhttp_download_service.h"
#include "win32/net/winsock_datagram_socket.h"
#include "win32/net/winsock_host_resolver.h"
#include "win32/win32_clock.h"
#include "win32/win32_dialogs.h"
#include "win32/windows_api.h"

namespace {

std::filesystem::path ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    // The program folder holds Data\ and Log\; relative paths are read against it.
    const std::filesystem::path folder = ProgramFolder();
    SetCurrentDirectoryA(folder.string().c_str());

    vespar::win32::Win32Clock clock;
    vespar::win32::Win32Dialogs dialogs;
    const std::unique_ptr<vespar::Platform> platform = vespar::OpenPlatform();
    // Datagrams, lookup answers and download notices enter through the front-end's event
    // boundary.
    std::function<void(const std::function<void()>&)> deliver;
    const auto sink = [&deliver](const std::function<void()>& event) { deliver(event); };
    vespar::win32::MessageWindow networkWindow;
    vespar::win32::WinsockDatagramSocket socket(networkWindow, sink);
    vespar::win32::WinsockHostResolver resolver(networkWindow, sink);
    vespar::win32::WinHttpDownloadService downloads(networkWindow, sink);
    vespar::Program program(clock, dialogs, platform->Guard(), platform->Process(),
                            platform->Ports(), {socket, resolver, downloads}, folder);

    vespar::win32::FrontEnd frontEnd(program, clock);
    deliver = [&frontEnd](const std::function<void()>& event) { frontEnd.Deliver(event); };
    if (!frontEnd.Start(commandLine != nullptr ? commandLine : "")) return frontEnd.exitCode();
    frontEnd.StartTimers();

    MSG message = {};
    int rc = 0;
    while ((rc = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (frontEnd.DialogKey(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (frontEnd.ended()) return frontEnd.exitCode();
    return rc == 0 ? static_cast<int>(message.wParam) : 1;
}
