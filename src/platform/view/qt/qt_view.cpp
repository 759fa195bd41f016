#include "qt_view.h"

#include "form_window.h"
#include "widget_binder.h"
#include "widget_registry.h"

#include <QAction>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace tavren::view::qt {

struct QtView::State {
    TwipsScale scale;
    std::shared_ptr<WidgetRegistry> registry = std::make_shared<WidgetRegistry>();
    std::vector<std::pair<controls::Form*, QPointer<FormWindow>>> forms;

    explicit State(TwipsScale s) : scale(s) {}

    QPointer<FormWindow>* entryFor(const controls::Form& form) {
        for (auto& [f, window] : forms) {
            if (f == &form) return &window;
        }
        return nullptr;
    }

    FormWindow* build(controls::Form& form) {
        QPointer<FormWindow>* entry = entryFor(form);
        if (!entry) return nullptr;
        if (*entry) return *entry;
        const bool hasMenu = std::any_of(
            form.children().begin(), form.children().end(),
            [](const controls::Control* c) { return c->kind() == controls::Kind::MenuItem; });
        auto* window = new FormWindow(form, scale, hasMenu);
        *entry = window;
        registry->add(form, window);
        WidgetBinder(scale, registry)
            .buildChildren(form, window->clientArea(), window->menuBarIfAny());
        window->applyAll();
        return window;
    }
};

QtView::QtView() : QtView(primaryScreenTwipsScale()) {}

QtView::QtView(TwipsScale scale) : state_(std::make_shared<State>(scale)) {}

QtView::~QtView() {
    for (auto& [form, window] : state_->forms)
        delete window.data();
}

void QtView::addForm(controls::Form& form) {
    if (state_->entryFor(form)) return;
    state_->forms.emplace_back(&form, nullptr);
    std::weak_ptr<State> weak = state_;
    form.changed.connect([weak, &form](controls::Property p) {
        auto state = weak.lock();
        if (!state) return;
        QPointer<FormWindow>* entry = state->entryFor(form);
        if (!entry) return;
        if (*entry) {
            (*entry)->apply(p);
            if (p == controls::Property::ZOrder) state->registry->restackChildren(form);
            return;
        }
        // Windows are built lazily: a form that is never loaded nor shown costs nothing.
        if (form.isLoaded() || form.visible()) state->build(form);
    });
    if (form.isLoaded() || form.visible()) state_->build(form);
}

services::WindowHandle QtView::nativeWindowId(const controls::Form& form) {
    for (auto& [known, window] : state_->forms) {
        if (known != &form) continue;
        FormWindow* built = state_->build(*known);
        return static_cast<services::WindowHandle>(built->winId());
    }
    return 0;
}

QWidget* QtView::widgetFor(const controls::Control& control) const {
    return state_->registry->findAs<QWidget>(control);
}

QAction* QtView::actionFor(const controls::MenuItem& item) const {
    return state_->registry->findAs<QAction>(item);
}

QTimer* QtView::timerFor(const controls::Timer& timer) const {
    return state_->registry->findAs<QTimer>(timer);
}

QWidget* QtView::clientAreaOf(const controls::Form& form) const {
    QPointer<FormWindow>* entry = state_->entryFor(form);
    return entry && *entry ? (*entry)->clientArea() : nullptr;
}

const TwipsScale& QtView::scale() const {
    return state_->scale;
}

} // namespace tavren::view::qt
