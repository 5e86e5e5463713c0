#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/url_opener.h"

namespace vespar::test {

// Records every address; answers with result, or runs fault (which may throw) when set.
struct FakeUrlOpener : UrlOpener {
    int result = kUrlOpenStarted;
    std::function<void()> fault;
    std::vector<std::string> opened;
    int Open(const std::string& url) override {
        opened.push_back(url);
        if (fault) fault();
        return result;
    }
};

}  // namespace vespar::test
