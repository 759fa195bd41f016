#pragma once

#include "../controls/control.h"

#include <vector>

namespace tavren::services {

// The desktop's screens, as rectangles in twips.
class Screens {
public:
    virtual ~Screens() = default;
    virtual std::vector<controls::Rect> availableGeometries() = 0;
};

} // namespace tavren::services
