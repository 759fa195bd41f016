#include "view_context.h"

namespace tavren::view::qt {

void WidgetRegistry::restackChildren(const controls::Control& container) const {
    for (const bool labels : {false, true}) {
        for (const controls::Control* child : container.children()) {
            if ((child->kind() == controls::Kind::Label) != labels) continue;
            if (auto* widget = findAs<QWidget>(*child)) widget->raise();
        }
    }
}

} // namespace tavren::view::qt
