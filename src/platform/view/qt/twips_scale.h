#pragma once

#include "platform/controls/control.h"
#include "platform/controls/twips_scale.h"

#include <QRect>

namespace tavren::view::qt {

using controls::TwipsScale;

// The primary screen's logical DPI's scale; 96 DPI when there is no screen.
TwipsScale primaryScreenTwipsScale();

// A child control's rectangle, relative to its parent's client area.
QRect toQRect(const TwipsScale& scale, const controls::Rect& r);

} // namespace tavren::view::qt
