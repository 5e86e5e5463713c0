#include "sensors/input_change.h"

namespace vespar {
namespace {

constexpr int kKeyCodes = 256;
const char kNoKeys[] = "0";

}  // namespace

std::int64_t InputChangeDetector::ReadPosition() {
    // A failed read keeps the last position, which then reads as no movement.
    source_.CursorPos(cursorX_, cursorY_);
    return static_cast<std::int64_t>(cursorX_) + cursorY_;
}

bool InputChangeDetector::InDataChanged() {
    posNow_ = ReadPosition();
    mouseMoved_ = posNow_ != posPrev_;
    posPrev_ = posNow_;

    keysNow_ = kNoKeys;
    for (int code = 0; code < kKeyCodes; ++code) {
        if (source_.AsyncKeyState(code) != 0) keysNow_ += std::to_string(code);
    }
    // Releasing every key is no activity; the next press counts again.
    if (keysNow_ == kNoKeys) keysPrev_ = kNoKeys;
    keysChanged_ = keysNow_ != keysPrev_;
    keysPrev_ = keysNow_;

    // Asked after the poll, since a source may find out during it that it is gone.
    unreadable_ = !source_.Readable();
    if (unreadable_) {
        // Nothing was seen, but nothing proves the user away either.
        mouseMoved_ = keysChanged_ = false;
        return true;
    }
    return mouseMoved_ || keysChanged_;
}

void InputChangeDetector::InDataReset() {
    posNow_ = ReadPosition();
    mouseMoved_ = false;
    posPrev_ = posNow_;
    for (int code = 0; code < kKeyCodes; ++code) source_.AsyncKeyState(code);
    keysChanged_ = false;
    unreadable_ = !source_.Readable();
}

}  // namespace vespar
