#pragma once

struct _XDisplay;

namespace tavren::backend::x11 {

// Whether the keyboard focus is on the window or on a window inside it: where
// keys typed now would land. A window manager's _NET_ACTIVE_WINDOW trails this
// (it moves the focus at once on a click, and the property only when it gets
// round to it), so "in front" needs both.
bool focusIsWithin(_XDisplay* display, unsigned long window);

} // namespace tavren::backend::x11
