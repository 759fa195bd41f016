#include "view_context.h"
#include "stacking_order.h"

namespace tavren::view::win32 {

void WindowRegistry::restackChildren(const controls::Control& container,
                                     const TwipsScale& scale) const {
    std::vector<StackedChild> children;
    for (const controls::Control* child : container.children()) {
        // Menu items and timers map to the form's own window, which is no child.
        HWND window = find(*child);
        if (!window || !::GetParent(window)) continue;
        children.push_back({child, created_.at(child)});
    }
    const std::vector<const controls::Control*> order = stackingOrder(children, scale);
    // Most changes (a button moved, shown or hidden) leave the stacking as it
    // is: the windows are moved only when it changes.
    bool stacked = !order.empty();
    HWND expected = order.empty() ? nullptr : ::GetWindow(find(*order.front()), GW_HWNDFIRST);
    for (const controls::Control* child : order) {
        if (expected != find(*child)) {
            stacked = false;
            break;
        }
        expected = ::GetWindow(expected, GW_HWNDNEXT);
    }
    if (stacked) return;
    HWND above = HWND_TOP;
    for (const controls::Control* child : order) {
        HWND window = find(*child);
        ::SetWindowPos(window, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        above = window;
    }
}

} // namespace tavren::view::win32
