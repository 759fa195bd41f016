#pragma once

#include "twips_scale.h"

#include <QFont>
#include <QStringList>

namespace tavren::view::qt {

// The font the forms' designs were measured in: a 9 point Japanese user-interface
// font with compact lines, one em high, so that two lines of a caption fit the
// designs' 375-twip boxes. Today's usual Japanese fonts have lines about 1.4 em
// high; with them the captions shrink (see WrappedCaption) or, past the smallest
// legible size, are cut.
struct FormFont {
    static constexpr double kPointSize = 9;
    // Japanese-capable families, the first one installed wins: the compact one
    // first (fonts-horai-umefont), then the looser ones most systems have.
    static QStringList preferredFamilies();

    // 9 points in pixels of the screen `scale` describes: the size follows the
    // same scale as the controls' geometry.
    static int pixelSize(const TwipsScale& scale);

    // The first preferred family among `installed`, else `fallback` (the
    // system's default font), at pixelSize(scale).
    static QFont choose(const QStringList& installed, QFont fallback, const TwipsScale& scale);
    // The same, from the families installed on this system.
    static QFont ofSystem(const TwipsScale& scale);
};

} // namespace tavren::view::qt
