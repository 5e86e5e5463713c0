#pragma once

#include <cstdint>
#include <string>

#include "sensors/input_source.h"

namespace vespar {

// Polls the pointer and the keys once per tick and tells whether either changed since the
// previous look: the pointer moved (in any direction), a key was pressed since the previous
// look, or the set of keys down changed to a non-empty one (a key held without pause counts
// once). A source that cannot be read counts as activity at every check, never as idle.
class InputChangeDetector {
  public:
    explicit InputChangeDetector(InputSource& source) : source_(source) {}

    // One check; true when the pointer moved, a key was pressed or a new, non-empty set of
    // keys was seen, and always while the source is unreadable.
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
    // Reads the position and whether the pointer moved since the previous look.
    bool PointerMoved();

    InputSource& source_;
    std::int32_t cursorX_ = 0;
    std::int32_t cursorY_ = 0;
    std::int32_t prevX_ = 0;
    std::int32_t prevY_ = 0;
    bool mouseMoved_ = false;
    std::string keysNow_;
    std::string keysPrev_;
    bool keysChanged_ = false;
    bool unreadable_ = false;
};

}  // namespace vespar
