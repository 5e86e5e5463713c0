#include "log/startup_checks.h"

#include <cctype>
#include <filesystem>

#include "base/text.h"
#include "base/text_file.h"
#include "log/fatal_stop.h"

namespace vespar {

namespace {

std::string TitleWord(const std::string& name) {
    std::string t = name;
    if (!t.empty()) t[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
    return t;
}

bool IsDirectory(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::is_directory(p, ec);
}

bool IsFile(const std::filesystem::path& p) {
    std::error_code ec;
    return std::filesystem::is_regular_file(p, ec);
}

}  // namespace

void CheckDirectory(Context& ctx, const std::string& name) {
    if (IsDirectory(ResolvePath(ctx.programDir, name + "\\"))) return;
    FatalStop(ctx, {ctx.rt.programTitle + " " + TitleWord(name) + " Directory Error",
                    JoinCrLf({"The " + name + " directory does not exist.",
                              "To restore the " + name + " directory", "reinstall the program.",
                              "The program will now terminate."}),
                    Icon::Critical, Buttons::Ok});
}

void CheckLogDirectory(Context& ctx, const std::string& /*name*/) {
    // The configured log folder is the one that matters, default or not.
    if (IsDirectory(ResolvePath(ctx.programDir, ctx.rt.config.LogPath))) return;
    FatalStop(ctx, {ctx.rt.programTitle + " Log Directory Error",
                    JoinCrLf({"The log directory does not exist. This",
                              "directory must be created manually if",
                              "it is not the default one. To restore",
                              "the default log directory reinstall", "the program.",
                              "The program will now terminate."}),
                    Icon::Critical, Buttons::Ok});
}

void CheckLogFile(Context& ctx, const std::string& name, const std::string& directory,
                  const std::string& file) {
    if (IsFile(ResolvePath(ctx.programDir, directory + file))) return;
    FatalStop(ctx,
              {ctx.rt.programTitle + " " + TitleWord(name) + " File Error",
               JoinCrLf({"The " + name + " file is either missing or",
                         "corrupted. Delete the log file if", "it exists and restart the program.",
                         "The program will now terminate."}),
               Icon::Exclamation, Buttons::Ok});
}

void CheckRequiredFile(Context& ctx, const std::string& name, const std::string& directory,
                       const std::string& file) {
    if (IsFile(ResolvePath(ctx.programDir, directory + file))) return;
    FatalStop(ctx, {ctx.rt.programTitle + " " + TitleWord(name) + " File Error",
                    JoinCrLf({"The " + name + " file is either missing or",
                              "corrupted. To restore the " + name + " file",
                              "reinstall the program.", "The program will now terminate."}),
                    Icon::Critical, Buttons::Ok});
}

}  // namespace vespar
