#pragma once

#include "platform/controls/control.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <unordered_map>

namespace tavren::qt {

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
    // bottom first.
    void restackChildren(const controls::Control& container) const {
        for (const controls::Control* child : container.children()) {
            if (auto* widget = findAs<QWidget>(*child)) widget->raise();
        }
    }

private:
    std::unordered_map<const controls::Control*, QPointer<QObject>> objects_;
};

} // namespace tavren::qt
