#include "ui/web_site.h"

#include <cstdlib>
#include <exception>
#include <system_error>

#include "base/system_error.h"
#include "base/text.h"
#include "base/version.h"

namespace vespar {

namespace {

void ShowLaunchError(Context& ctx, const std::string& text) {
    // These titles carry the product name itself, also on a slave.
    ctx.dialogs.Show(
        MessageBox{std::string(kProductName) + " Error", text, Icon::None, Buttons::Ok, 0});
}

void ShowProgramError(Context& ctx, long long number, const std::string& description) {
    ShowLaunchError(
        ctx, JoinCrLf({"A program error has occured", "Error Number: " + std::to_string(number),
                       "Error description: " + description}));
}

}  // namespace

std::string WebSiteBase() {
    const char* set = std::getenv("VESPAR_WEB_BASE");
    std::string base = set != nullptr && *set != '\0' ? set : kWebSiteBase;
    if (base.back() != '/') base += '/';
    return base;
}

void LaunchWebSite(Context& ctx, UrlOpener& opener, const std::string& path) {
    try {
        const int result = opener.Open(WebSiteBase() + path);
        if (result < kUrlOpenLowestSuccess) ShowLaunchError(ctx, "Unable to launch Browser.");
    } catch (const SystemError& e) {
        ShowProgramError(ctx, e.Number(), e.Description());
    } catch (const std::system_error& e) {
        ShowProgramError(ctx, e.code().value(), e.code().message());
    } catch (const std::exception& e) {
        // Faults without a number of their own report 0.
        ShowProgramError(ctx, 0, e.what());
    }
}

}  // namespace vespar
