#pragma once

#include <string>

#include "state/context.h"
#include "ui/url_opener.h"

namespace vespar {

// The maker's web-site address, ending in "/"; page paths are appended to it. A build may
// set it with the compile definition VESPAR_WEB_BASE.
#ifdef VESPAR_WEB_BASE
inline constexpr const char* kWebSiteBase = VESPAR_WEB_BASE;
#else
inline constexpr const char* kWebSiteBase = "https://vespar.invalid/";
#endif

// The web-site address in use: the environment variable VESPAR_WEB_BASE when it is set (so
// a test or a mirror can stand in for the maker's site), else kWebSiteBase; it always ends
// in "/".
std::string WebSiteBase();

// Opens the page at path (empty for the home page) below the web-site address in the
// browser. A browser that cannot be started, or any fault on the way, is reported in a
// message box; nothing else changes.
void LaunchWebSite(Context& ctx, UrlOpener& opener, const std::string& path);

}  // namespace vespar
