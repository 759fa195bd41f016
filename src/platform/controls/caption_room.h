#pragma once

#include "twips_scale.h"

namespace tavren::controls {

// Where a control's caption may go when another control stacked above it overlaps
// its caption area: the largest of the four parts of `area` beside `cover` (above,
// below, left of or right of it), or `area` itself when they do not overlap.
// Edges are exclusive on the right and bottom. The designs overlap controls by a
// pixel here and there, and the "0.0" button covers the lower half of the nick box;
// a caption drawn under another control would be hidden.
PixelEdges captionRoomBeside(const PixelEdges& area, const PixelEdges& cover);

} // namespace tavren::controls
