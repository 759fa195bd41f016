#pragma once

#include "form.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace tavren::controls {

// The forms a view shows and the window it builds for each. A form's window is
// built when the form is first loaded or made visible (a form that never is
// costs nothing); it shows every property of the form then and each change
// after. The windows go with the registry, in the order their forms came; the
// forms may outlive it, and their changes then reach nothing.
//
// Window is the view's window of a form, a ControlView of it; `build` makes it
// with everything it holds, the windows of the form's controls too.
template <class Window> class FormWindows {
public:
    using Builder = std::function<std::unique_ptr<Window>(Form&)>;

    explicit FormWindows(Builder build) : state_(std::make_shared<State>(std::move(build))) {}
    ~FormWindows() {
        for (Entry& entry : state_->entries)
            entry.window.reset();
    }
    FormWindows(const FormWindows&) = delete;
    FormWindows& operator=(const FormWindows&) = delete;

    // Shows `form` from now on: before or after it is loaded. A form given
    // before is left as it is.
    void add(Form& form) {
        if (state_->indexOf(form) != kNone) return;
        state_->entries.push_back({&form, nullptr});
        std::weak_ptr<State> weak = state_;
        form.changed.connect([weak, &form](Property property) {
            const auto state = weak.lock();
            if (!state) return;
            const std::size_t index = state->indexOf(form);
            if (index == kNone) return;
            if (Window* window = state->entries[index].window.get()) {
                window->showProperty(property);
                return;
            }
            if (form.isLoaded() || form.visible()) state->build(index);
        });
        if (form.isLoaded() || form.visible()) state_->build(state_->entries.size() - 1);
    }

    // The form's window, built now when it was not yet; nullptr for a form
    // never given to add().
    Window* build(const Form& form) {
        const std::size_t index = state_->indexOf(form);
        return index == kNone ? nullptr : state_->build(index);
    }

    // The form's window, or nullptr while it has none.
    Window* find(const Form& form) const {
        const std::size_t index = state_->indexOf(form);
        return index == kNone ? nullptr : state_->entries[index].window.get();
    }

    // Calls f(window) for every window built, in the order the forms came.
    template <class F> void forEachWindow(F&& f) const {
        for (const Entry& entry : state_->entries)
            if (entry.window) f(*entry.window);
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    struct Entry {
        Form* form;
        std::unique_ptr<Window> window;
    };

    struct State {
        explicit State(Builder b) : builder(std::move(b)) {}

        std::size_t indexOf(const Form& form) const {
            for (std::size_t i = 0; i < entries.size(); ++i)
                if (entries[i].form == &form) return i;
            return kNone;
        }

        Window* build(std::size_t index) {
            if (Window* built = entries[index].window.get()) return built;
            // What the form reports while its window is made is shown by
            // showAll() right after: the window is built once.
            if (building) return nullptr;
            std::unique_ptr<Window> window = buildOnce(*entries[index].form);
            Window* built = window.get();
            entries[index].window = std::move(window);
            built->showAll();
            return built;
        }

        std::unique_ptr<Window> buildOnce(Form& form) {
            building = true;
            struct Done {
                bool& flag;
                ~Done() { flag = false; }
            } done{building};
            return builder(form);
        }

        Builder builder;
        std::vector<Entry> entries;
        bool building = false;
    };

    std::shared_ptr<State> state_;
};

} // namespace tavren::controls
