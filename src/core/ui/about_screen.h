#pragma once

#include <functional>

#include "base/timers.h"
#include "state/context.h"
#include "ui/control_model.h"
#include "ui/url_opener.h"

namespace vespar {

// frmAbout: title, version and the web-site link; closes itself after its countdown
// (Runtime::aboutTimeout, counted by Timer1 and checked by the engine's tick). While it is
// open the engine pauses (Runtime::childFormOpen). The context's timer registry must outlive
// the screen.
class AboutScreen : public ScreenModel {
  public:
    static constexpr const char* kTimerName = "frmAbout.Timer1";
    static constexpr const char* kProgName = "ProgName";
    static constexpr const char* kProgVersion = "ProgVersion";
    static constexpr const char* kWebSite = "WebSite";
    static constexpr const char* kTMessage = "TMessage";
    static constexpr const char* kExitAbout = "ExitAbout";

    // onClosed runs at every unload; the main window enables its commands there.
    AboutScreen(Context& ctx, UrlOpener& opener, std::function<void()> onClosed);
    ~AboutScreen();
    AboutScreen(const AboutScreen&) = delete;
    AboutScreen& operator=(const AboutScreen&) = delete;

    bool isOpen() const { return open_; }
    // Loads and shows the screen; an open screen is only shown again.
    void Open();
    // The screen became the active window.
    void Activate();
    // Unloads the screen; nothing happens when it is not open.
    void Close();

  private:
    void Tick();

    Context& ctx_;
    UrlOpener& opener_;
    std::function<void()> onClosed_;
    Timer& timer_;
    bool open_ = false;
};

// "Version " + major + "." + minor, both without leading zeros.
std::string VersionText(int major, int minor);

}  // namespace vespar
