#pragma once

#include "platform/services/screens.h"

namespace tavren::view::win32 {

// The work areas of every monitor (the screen less the task bar), in twips at
// `dotsPerInch` pixels to the inch.
class Win32Screens : public services::Screens {
public:
    explicit Win32Screens(int dotsPerInch);
    std::vector<controls::Rect> availableGeometries() override;

private:
    int dotsPerInch_;
};

} // namespace tavren::view::win32
