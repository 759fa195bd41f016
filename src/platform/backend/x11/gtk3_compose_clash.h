#pragma once

#include <X11/X.h>

struct _XDisplay;

namespace tavren::backend::x11 {

// GTK 3 keeps the keys of a compose sequence in 16 bits, so a Unicode keysym
// whose low 16 bits are the Compose key's (U+FF20 "＠" as 0x100FF20) or a dead
// key's (U+FE50.. as 0x100FE50..) starts a compose sequence there and the
// character, and often the key after it, is lost. Such characters reach a GTK 3
// window only through its own Unicode entry (Ctrl+Shift+U, hex digits, space).

// Whether the keysym is read as a compose or dead key by GTK 3.
bool clashesWithGtk3Compose(KeySym keysym);

// Whether the program owning the top-level window (its _NET_WM_PID, on this
// machine) runs GTK 3. False when that cannot be told.
bool runsGtk3(_XDisplay* display, Window window);

} // namespace tavren::backend::x11
