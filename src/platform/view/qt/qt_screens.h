#pragma once

#include "twips_scale.h"

#include "platform/services/screens.h"

namespace tavren::view::qt {

// The screens' available areas (without panels and docks), in twips at the
// same scale as the view's. Needs a QGuiApplication.
class QtScreens : public services::Screens {
public:
    explicit QtScreens(TwipsScale scale) : scale_(scale) {}

    std::vector<controls::Rect> availableGeometries() override;

private:
    TwipsScale scale_;
};

} // namespace tavren::view::qt
