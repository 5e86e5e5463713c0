#pragma once

#include <cstdint>
#include <string>

#include "sensors/input_source.h"

namespace vespar {

// Polls the pointer and the keys once per tick and tells whether either changed since the
// previous look. The pointer is reduced to x + y, so moves along the anti-diagonal go unseen.
// A source that cannot be read counts as activity at every check, never as idle.
class InputChangeDetector {
  public:
    explicit InputChangeDetector(InputSource& source) : source_(source) {}

    // One check; true when the pointer moved or a new, non-empty set of keys was seen, and
    // always while the source is unreadable.
    bool InDataChanged();
    // Takes the current pointer position as reference, consumes pending presses, clears
    // both flags.
    void InDataReset();

    // The source could not be read at the last check or reset; both flags are then false.
    bool Unreadable() const { return unreadable_; }

    bool MouseMoved() const { return mouseMoved_; }
    bool KeysChanged() const { return keysChanged_; }
    void ClearMouseMoved() { mouseMoved_ = false; }
    void ClearKeysChanged() { keysChanged_ = false; }
    void ClearFlags() { mouseMoved_ = keysChanged_ = false; }

    // "0" followed by the decimal codes reported at the last check ("0165" for 1 and 65).
    const std::string& KeysNow() const { return keysNow_; }

  private:
    std::int64_t ReadPosition();

    InputSource& source_;
    std::int32_t cursorX_ = 0;
    std::int32_t cursorY_ = 0;
    // 64-bit so that x + y cannot overflow at the edges of huge virtual screens.
    std::int64_t posNow_ = 0;
    std::int64_t posPrev_ = 0;
    bool mouseMoved_ = false;
    std::string keysNow_;
    std::string keysPrev_;
    bool keysChanged_ = false;
    bool unreadable_ = false;
};

}  // namespace vespar
