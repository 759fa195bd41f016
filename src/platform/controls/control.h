#pragma once

#include "signal.h"

#include <string>
#include <vector>

namespace tavren::controls {

// Position and size in twips (1/1440 inch), relative to the parent's client area;
// for a form, the outer frame in screen coordinates.
struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class Kind {
    Form,
    Frame,
    Label,
    Button,
    CheckBox,
    OptionButton,
    TextField,
    ComboBox,
    MenuItem,
    Timer
};

// What changed on a control, so that a view updates just that aspect.
enum class Property {
    Geometry,
    Visible,
    Enabled,
    Caption,
    Text,
    Value,
    Colour,
    Items,
    ZOrder,
    State
};

// Base of every control: identity, place in the tree, geometry, visibility and
// the enabled state. Setting a property to the value it already has notifies no one.
class Control {
public:
    Control(Kind kind, std::string name, Control* parent, int index = -1);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Kind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; } // element index in a control array, -1 otherwise
    Control* parent() const { return parent_; }
    // Children in z-order, bottom first: the last child is drawn in front.
    const std::vector<Control*>& children() const { return children_; }

    const Rect& geometry() const { return geometry_; }
    void setGeometry(const Rect& r);
    double left() const { return geometry_.left; }
    double top() const { return geometry_.top; }
    double width() const { return geometry_.width; }
    double height() const { return geometry_.height; }
    void setLeft(double v) { setGeometry({v, geometry_.top, geometry_.width, geometry_.height}); }
    void setTop(double v) { setGeometry({geometry_.left, v, geometry_.width, geometry_.height}); }
    void setWidth(double v) { setGeometry({geometry_.left, geometry_.top, v, geometry_.height}); }
    void setHeight(double v) { setGeometry({geometry_.left, geometry_.top, geometry_.width, v}); }

    bool visible() const { return visible_; }
    void setVisible(bool v);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);

    // Brings this control in front of its siblings.
    void bringToFront();

    // Design time only: puts a control that has no parent yet into a container, in
    // front of the children it already has.
    void attachTo(Control& parent);

    // Raised after any property change, for views. Behaviour listens to the
    // control-specific events instead.
    Signal<Property> changed;

protected:
    void notify(Property p) { changed.raise(p); }
    // Hook for subclasses whose geometry changes raise an event (forms).
    virtual void geometryChanged() {}

private:
    Kind kind_;
    std::string name_;
    int index_;
    Control* parent_;
    std::vector<Control*> children_;
    Rect geometry_;
    bool visible_ = true;
    bool enabled_ = true;
};

// Design time: puts a control into its container at its designed place.
inline void place(Control& control, Control& container, const Rect& geometry) {
    control.attachTo(container);
    control.setGeometry(geometry);
}

} // namespace tavren::controls
