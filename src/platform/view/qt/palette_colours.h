#pragma once

#include "platform/controls/colour.h"

#include <QColor>
#include <QPalette>

namespace tavren::view::qt {

// The palette role that stands for a system colour (a colour with the top bit set),
// so that the theme decides what "button face" or "window background" looks like.
QPalette::ColorRole systemColourRole(controls::Colour colour);

// The colour to paint: an explicit red/green/blue value as it is, a system colour
// as the theme's colour for its role in `theme`.
QColor toQColor(controls::Colour colour, const QPalette& theme);

// A palette that paints `colour` in `role` (and, for backgrounds, in the roles an
// auto-filled background uses), starting from `theme`.
QPalette paletteWith(const QPalette& theme, QPalette::ColorRole role, controls::Colour colour);

} // namespace tavren::view::qt
