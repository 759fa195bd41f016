#include "control_view.h"

namespace tavren::controls {

const std::vector<Property>& showingOrder(Kind kind) {
    static const std::vector<Property> form = {Property::Caption, Property::Enabled,
                                               Property::Geometry, Property::State,
                                               Property::Visible};
    static const std::vector<Property> control = {
        Property::Geometry, Property::Enabled, Property::Caption, Property::Items,
        Property::Value,    Property::Text,    Property::Colour,  Property::Visible};
    return kind == Kind::Form ? form : control;
}

ControlView::ControlView(Control& control)
    : control_(control), alive_(std::make_shared<ControlView*>(this)) {}

void ControlView::showAll() {
    for (Property property : showingOrder(control_.kind()))
        showProperty(property);
}

void ControlView::showProperty(Property property) {
    const EchoGuard::Hold hold(echo_);
    apply(property);
}

void ControlView::follow() {
    std::weak_ptr<ControlView*> alive = alive_;
    control_.changed.connect([alive](Property property) {
        if (const auto self = alive.lock()) (*self)->showProperty(property);
    });
}

} // namespace tavren::controls
