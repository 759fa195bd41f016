#include "qt_view.h"

#include "form_window.h"
#include "view_context.h"

#include "platform/controls/form_windows.h"

#include <QAction>
#include <QTimer>

#include <memory>

namespace tavren::view::qt {

struct QtView::State {
    TwipsScale scale;
    WidgetRegistry registry;
    // After the registry, which the windows use until they are gone.
    controls::FormWindows<FormWindow> forms{[this](controls::Form& form) {
        return std::make_unique<FormWindow>(form, ViewContext{scale, &registry});
    }};

    explicit State(TwipsScale s) : scale(s) {}
};

QtView::QtView() : QtView(primaryScreenTwipsScale()) {}

QtView::QtView(TwipsScale scale) : state_(std::make_unique<State>(scale)) {}

QtView::~QtView() = default;

void QtView::addForm(controls::Form& form) {
    state_->forms.add(form);
}

services::WindowHandle QtView::nativeWindowId(const controls::Form& form) {
    FormWindow* window = state_->forms.build(form);
    return window ? static_cast<services::WindowHandle>(window->winId()) : 0;
}

QWidget* QtView::widgetFor(const controls::Control& control) const {
    return state_->registry.findAs<QWidget>(control);
}

QAction* QtView::actionFor(const controls::MenuItem& item) const {
    return state_->registry.findAs<QAction>(item);
}

QTimer* QtView::timerFor(const controls::Timer& timer) const {
    return state_->registry.findAs<QTimer>(timer);
}

QWidget* QtView::clientAreaOf(const controls::Form& form) const {
    FormWindow* window = state_->forms.find(form);
    return window ? window->clientArea() : nullptr;
}

const TwipsScale& QtView::scale() const {
    return state_->scale;
}

} // namespace tavren::view::qt
