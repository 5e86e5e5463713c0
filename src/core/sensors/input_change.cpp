#include "sensors/input_change.h"

namespace vespar {
namespace {

constexpr int kKeyCodes = 256;
const char kNoKeys[] = "0";

}  // namespace

bool InputChangeDetector::PointerMoved() {
    // A failed read keeps the last position, which then reads as no movement. Both
    // coordinates are compared: a move that keeps x + y is a move too.
    source_.CursorPos(cursorX_, cursorY_);
    const bool moved = cursorX_ != prevX_ || cursorY_ != prevY_ || source_.MovedSincePoll();
    prevX_ = cursorX_;
    prevY_ = cursorY_;
    return moved;
}

bool InputChangeDetector::InDataChanged() {
    source_.Poll();
    mouseMoved_ = PointerMoved();

    keysNow_ = kNoKeys;
    bool pressed = false;
    for (int code = 0; code < kKeyCodes; ++code) {
        const std::int16_t state = source_.AsyncKeyState(code);
        if (state != 0) keysNow_ += std::to_string(code);
        pressed = pressed || (state & 1) != 0;
    }
    // Releasing every key is no activity; the next press counts again. A press since the
    // previous look always counts, so a typist repeating one key is never idle.
    if (keysNow_ == kNoKeys) keysPrev_ = kNoKeys;
    keysChanged_ = keysNow_ != keysPrev_ || pressed;
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
    source_.Poll();
    PointerMoved();
    mouseMoved_ = false;
    for (int code = 0; code < kKeyCodes; ++code) source_.AsyncKeyState(code);
    keysChanged_ = false;
    unreadable_ = !source_.Readable();
}

}  // namespace vespar
