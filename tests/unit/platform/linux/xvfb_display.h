#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "child_process.h"

namespace vespar::test {

// A private X server on a display number it picks itself, gone with this object.
class XvfbDisplay {
  public:
    // extraArgs go to the server, as "-extension MIT-SCREEN-SAVER" to run without one.
    explicit XvfbDisplay(const std::vector<std::string>& extraArgs = {}) {
        // The server writes its display number and a newline to -displayfd once it accepts
        // connections. -noreset: by default the server resets when its last client leaves
        // and drops the connections that arrive meanwhile.
        const auto file = folder_.path() / "display";
        std::vector<std::string> args{"Xvfb",     "-displayfd", "1", "-nolisten",   "tcp",
                                      "-noreset", "-screen",    "0", "1280x1024x24"};
        args.insert(args.end(), extraArgs.begin(), extraArgs.end());
        server_.emplace(args, EnvironmentWithout({}), file, "/dev/null");
        std::string number;
        PollUntil(
            [&] {
                number = ReadWholeFile(file);
                return number.find('\n') != std::string::npos || !server_->Running();
            },
            std::chrono::seconds(20));
        if (number.find('\n') == std::string::npos) {
            Stop();
            throw std::runtime_error("Xvfb did not report its display");
        }
        name_ = ":" + number.substr(0, number.find('\n'));
    }

    const std::string& Name() const { return name_; }
    // Ends the server now, as a crash or a logout would.
    void Stop() { server_.reset(); }

    // Runs xdotool against this display only and returns its exit status (-1 on a signal).
    int Xdotool(std::vector<std::string> args) const {
        auto env = EnvironmentWithout({"DISPLAY="});
        env.push_back("DISPLAY=" + name_);
        args.insert(args.begin(), "xdotool");
        return ChildProcess(args, env, "/dev/null", "/dev/null").Wait();
    }

  private:
    ScratchFolder folder_{"vespar-xvfb-"};
    std::optional<ChildProcess> server_;
    std::string name_;
};

}  // namespace vespar::test
