#include "win32/small_windows.h"

#include <algorithm>

namespace vespar::win32 {

namespace {

// A dialog-like window: a caption with a close button, no sizing.
constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

std::unique_ptr<ScreenWindow> NewWindow(ScreenModel& model, EventSink sink, const Theme& theme,
                                        const Pictures& pictures) {
    auto window = std::make_unique<ScreenWindow>(model, std::move(sink), theme, kDialogStyle);
    window->SetIcons(pictures.small(TrayIcon::Window), pictures.large(TrayIcon::Window));
    return window;
}

}  // namespace

std::unique_ptr<ScreenWindow> MakeAboutWindow(AboutScreen& about, EventSink sink,
                                              const Theme& theme, const Pictures& pictures) {
    auto window = NewWindow(about, std::move(sink), theme, pictures);
    ScreenWindow& w = *window;
    const int g = theme.gap();
    const int width = theme.charWidth() * 44;
    const int inner = width - 2 * g;
    int y = g;
    HWND logo = w.NewPlain("STATIC", "", SS_BITMAP);
    ScreenWindow::SetPicture(logo, pictures.logo());
    w.Place(logo, (width - 160) / 2, y, 160, 48);
    y += 48 + g;
    HWND name = w.NewLabel(AboutScreen::kProgName, SS_CENTER);
    w.SetBaseFont(name, theme.big());
    w.Place(name, g, y, inner, theme.lineHeight() * 3 / 2);
    y += theme.lineHeight() * 3 / 2 + g / 2;
    w.Place(w.NewLabel(AboutScreen::kProgVersion, SS_CENTER), g, y, inner, theme.lineHeight());
    y += theme.lineHeight() + g / 2;
    HWND site = w.NewLink(AboutScreen::kWebSite, SS_CENTER);
    w.SetBaseFont(site, theme.link());
    w.Place(site, g, y, inner, theme.lineHeight());
    y += theme.lineHeight() + g / 2;
    w.Place(w.NewLabel(AboutScreen::kTMessage, SS_CENTER), g, y, inner, theme.lineHeight() * 2);
    y += theme.lineHeight() * 2 + g / 2;
    const int buttonWidth = theme.charWidth() * 12;
    w.Place(w.NewButton(AboutScreen::kExitAbout), (width - buttonWidth) / 2, y, buttonWidth,
            theme.controlHeight());
    y += theme.controlHeight() + g;
    w.SetClientSize(width, y);
    return window;
}

std::unique_ptr<ScreenWindow> MakeMultiInstWindow(MultiInstScreen& notice, EventSink sink,
                                                  const Theme& theme, const Pictures& pictures) {
    auto window = NewWindow(notice, std::move(sink), theme, pictures);
    ScreenWindow& w = *window;
    const int g = theme.gap();
    HWND image = w.NewLabel(MultiInstScreen::kImage1, SS_ICON);
    ScreenWindow::SetPicture(image, LoadIcon(nullptr, IDI_WARNING));
    w.Place(image, g, g, 32, 32);
    const int textWidth = theme.charWidth() * 34;
    const int textHeight = theme.lineHeight() * 3;
    w.Place(w.NewLabel(MultiInstScreen::kErrorMess), g + 32 + g, g, textWidth, textHeight);
    HWND logo = w.NewLink(MultiInstScreen::kLogo, SS_BITMAP);
    ScreenWindow::SetPicture(logo, pictures.logo());
    const int logoX = g + 32 + g + textWidth + g;
    w.Place(logo, logoX, g, 160, 48);
    const int width = logoX + 160 + g;
    int y = g + std::max(textHeight, 48) + g;
    const int buttonWidth = theme.charWidth() * 12;
    w.Place(w.NewButton(MultiInstScreen::kExit), (width - buttonWidth) / 2, y, buttonWidth,
            theme.controlHeight());
    y += theme.controlHeight() + g;
    w.SetClientSize(width, y);
    return window;
}

std::unique_ptr<ScreenWindow> MakeUpdaterWindow(UpdaterScreen& updater, EventSink sink,
                                                const Theme& theme, const Pictures& pictures) {
    auto window = NewWindow(updater, std::move(sink), theme, pictures);
    ScreenWindow& w = *window;
    const int g = theme.gap();
    HWND logo = w.NewLink("Logo", SS_BITMAP);
    ScreenWindow::SetPicture(logo, pictures.logo());
    w.Place(logo, g, g, 160, 48);
    const int textX = g + 160 + g;
    const int textWidth = theme.charWidth() * 60;
    const int width = textX + textWidth + g;
    HWND version = w.NewLabel("UVersion");
    w.SetBaseFont(version, theme.bold());
    w.Place(version, textX, g, textWidth, theme.lineHeight());
    w.Place(w.NewReadOnlyBox("Status", false), textX, g + theme.lineHeight() + g / 2, textWidth,
            theme.controlHeight());
    int y = g + 48 + g;
    const int messageHeight = theme.lineHeight() * 6 + 8;
    w.Place(w.NewReadOnlyBox("Message", true), g, y, width - 2 * g, messageHeight);
    y += messageHeight + g;
    const char* buttons[] = {"WebSite", "History", "KIssues", "Download", "Exit"};
    const int between = g / 2;
    const int buttonWidth = (width - 2 * g - 4 * between) / 5;
    int x = g;
    for (const char* name : buttons) {
        w.Place(w.NewButton(name), x, y, buttonWidth, theme.controlHeight());
        x += buttonWidth + between;
    }
    y += theme.controlHeight() + g;
    w.SetClientSize(width, y);
    return window;
}

}  // namespace vespar::win32
