#pragma once

#include <Qt>

namespace tavren::view::qt {

// Key codes as key-down handlers receive them: the classic virtual-key codes
// (Enter 13, Escape 27, 'A' 65, F1 112, keypad 0 96, ...). Symbols are reported as
// the key that carries them on a US keyboard ('!' is the '1' key, 49). 0 for keys
// that have no such code (input-method keys, media keys).
int classicKeyCode(int qtKey, Qt::KeyboardModifiers modifiers);

// The shift argument of key and mouse handlers: Shift 1, Ctrl 2, Alt 4.
int classicShiftState(Qt::KeyboardModifiers modifiers);

// The button argument of mouse handlers: left 1, right 2, middle 4; 0 for others.
int classicMouseButton(Qt::MouseButton button);

} // namespace tavren::view::qt
