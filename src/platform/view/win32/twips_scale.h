#pragma once

#include "platform/controls/twips_scale.h"

#include <windows.h>

namespace tavren::view::win32 {

using controls::TwipsScale;

// The system DPI's scale. The process must be DPI-aware for it to be the real
// one: otherwise Windows answers 96 and stretches the windows itself.
TwipsScale systemTwipsScale();

// A rectangle of the controls as GDI takes it.
RECT toRect(const TwipsScale& scale, const controls::Rect& r);

} // namespace tavren::view::win32
