#pragma once

#include "twips_scale.h"

#include "platform/controls/control.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <unordered_map>

namespace tavren::view::qt {

// Which Qt object shows which control: a widget, a menu action or a timer.
class WidgetRegistry {
public:
    void add(const controls::Control& control, QObject* object) { objects_[&control] = object; }

    QObject* find(const controls::Control& control) const {
        const auto it = objects_.find(&control);
        return it == objects_.end() ? nullptr : it->second.data();
    }
    template <class T> T* findAs(const controls::Control& control) const {
        return qobject_cast<T*>(find(control));
    }

    // Stacks the widgets of a container's children as the children are ordered,
    // bottom first, and the labels above them all: a label paints no background
    // and takes no clicks, and its caption must stay readable where a sibling
    // overlaps its box (as the option circles under "縦" and "横" do).
    void restackChildren(const controls::Control& container) const;

private:
    std::unordered_map<const controls::Control*, QPointer<QObject>> objects_;
};

// What every widget of the view is placed and found with. The registry belongs
// to the view and outlives its windows.
struct ViewContext {
    TwipsScale scale;
    WidgetRegistry* registry = nullptr;
};

} // namespace tavren::view::qt
