#pragma once

#include "twips_scale.h"

#include "platform/controls/form_frame.h"

#include <windows.h>

namespace tavren::view::win32 {

// The client area's size in pixels for a form's outer rectangle (see
// controls::FormFrame).
SIZE clientPixels(const controls::Rect& outer, const TwipsScale& scale);

// The size of `window` around a client area of `client` pixels: its border,
// caption and menu bar (one line of it) as Windows draws them for the window,
// at the window's own DPI where Windows scales frames per monitor.
SIZE windowSizeAround(HWND window, SIZE client);

} // namespace tavren::view::win32
