#pragma once

#include "twips_scale.h"

#include "platform/controls/form_frame.h"

#include <QPoint>
#include <QSize>

namespace tavren::view::qt {

// The client area's size in pixels for a form's outer rectangle (see
// controls::FormFrame).
QSize clientPixels(const controls::Rect& outer, const TwipsScale& scale);
// Where the window's frame goes, in pixels.
QPoint framePixels(const controls::Rect& outer, const TwipsScale& scale);

} // namespace tavren::view::qt
