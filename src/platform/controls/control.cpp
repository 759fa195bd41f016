#include "control.h"

#include <algorithm>

namespace tavren::controls {

Control::Control(Kind kind, std::string name, Control* parent, int index)
    : kind_(kind), name_(std::move(name)), index_(index), parent_(parent) {
    if (parent_) parent_->children_.push_back(this);
}

void Control::setGeometry(const Rect& r) {
    if (r == geometry_) return;
    geometry_ = r;
    notify(Property::Geometry);
    geometryChanged();
}

void Control::setVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    notify(Property::Visible);
}

void Control::setEnabled(bool v) {
    if (v == enabled_) return;
    enabled_ = v;
    notify(Property::Enabled);
}

void Control::attachTo(Control& parent) {
    if (parent_) return;
    parent_ = &parent;
    parent.children_.push_back(this);
}

void Control::bringToFront() {
    if (!parent_) return;
    auto& siblings = parent_->children_;
    auto it = std::find(siblings.begin(), siblings.end(), this);
    if (it == siblings.end() || it + 1 == siblings.end()) return;
    siblings.erase(it);
    siblings.push_back(this);
    parent_->notify(Property::ZOrder);
}

} // namespace tavren::controls
