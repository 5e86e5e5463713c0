#pragma once

#include <string>

namespace vespar {

// Results of UrlOpener::Open in the terms of the platform's shell launch: 32 and above mean
// the browser was started, values below 32 name the reason it was not.
inline constexpr int kUrlOpenFileNotFound = 2;
inline constexpr int kUrlOpenAccessDenied = 5;
inline constexpr int kUrlOpenOutOfMemory = 8;
inline constexpr int kUrlOpenNoAssociation = 31;
inline constexpr int kUrlOpenLowestSuccess = 32;
inline constexpr int kUrlOpenStarted = 42;

// Opens a web address in the user's browser without waiting for it.
class UrlOpener {
  public:
    virtual ~UrlOpener() = default;
    // kUrlOpenLowestSuccess or above when the browser was started, a reason below it when
    // not. A fault it cannot express as a result is thrown (SystemError or std::exception).
    virtual int Open(const std::string& url) = 0;
};

}  // namespace vespar
