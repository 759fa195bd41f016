#include "platform/backend/x11/x11_keyboard.h"

#include "platform/backend/x11/gtk3_compose_clash.h"
#include "platform/backend/x11/ignored_x_errors.h"
#include "platform/backend/x11/input_method_guard.h"
#include "platform/backend/x11/keyboard_state.h"
#include "platform/backend/x11/target_window.h"
#include "platform/backend/x11/typing_executor.h"
#include "platform/backend/x11/typing_plan.h"

#include <X11/extensions/XTest.h>

#include <stdexcept>

namespace tavren::backend::x11 {
namespace {

using services::TypeResult;

// An order being typed: no binding goes away meanwhile. `read` tells at the end
// whether the window provably read every key of it (nothing typed: trivially).
struct OrderInProgress {
    explicit OrderInProgress(LingeringBindings& bindings) : bindings(bindings) {
        bindings.beginOrder();
    }
    ~OrderInProgress() { bindings.endOrder(read, unreadFor); }
    OrderInProgress(const OrderInProgress&) = delete;
    OrderInProgress& operator=(const OrderInProgress&) = delete;

    LingeringBindings& bindings;
    bool read = true;
    std::chrono::milliseconds unreadFor{0}; // beyond the bindings' idle time
};

} // namespace

X11Keyboard::X11Keyboard(const char* displayName, SynthesisLedger& ledger, InputMethod* inputMethod)
    : display_(openDisplay(displayName)), ledger_(ledger), inputMethod_(inputMethod),
      bindings_(std::make_unique<LingeringBindings>(displayName, kBindingIdleTime)),
      xtest_(std::make_unique<XTestKeyboardState>(display_.get())) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_.get(), &eventBase, &errorBase, &major, &minor))
        throw std::runtime_error("the X server lacks the XTest extension");
}

TypeResult X11Keyboard::type(services::WindowHandle target, const services::KeySequence& keys) {
    if (target == 0) return TypeResult::Interrupted;
    Display* display = display_.get();
    IgnoredXErrors ignoreErrors(display);
    TargetWindow window(display, static_cast<Window>(target));
    // From before the map is read: bindings it shows must still be there when
    // the keys are typed with them.
    OrderInProgress order(*bindings_);
    if (!window.isForeground()) return TypeResult::Interrupted;
    auto keyboard = readKeyboardState(display, *xtest_);
    if (!keyboard) return TypeResult::Failed;
    // Keycodes bound for earlier orders: their characters are on the map now,
    // but may be bound anew in the middle of this order.
    keyboard->bound = bindings_->bound();
    // Refused before the input method is asked.
    if (heldAsShortcut(*keyboard)) return TypeResult::Failed;

    // Made first, so that what it released goes back last.
    TypingExecutor executor(display, ledger_, *bindings_, window);
    InputMethodGuard inputMethod(inputMethod_, window);
    const auto directKey = typeable(inputMethod.directKey());
    // A key the server does not know cannot be typed: the bus turns it instead.
    if (inputMethod.directKey() && !directKey) inputMethod.turnNow();
    const InputMethodKeys inputMethodKeys{directKey, typeable(inputMethod.giveBackKey()),
                                          inputMethod.handsCharactersOnAsText()};
    // Asked last: the input method may have taken a while.
    keyboard->earlierKeysMayBeUnread = bindings_->earlierKeysMayBeUnread();
    const TypingPlan plan = planTyping(keys, *keyboard, inputMethodKeys,
                                       [&] { return runsGtk3(display, window.window()); });
    if (!plan.possible()) return TypeResult::Failed;

    TypeResult result = executor.run(plan, inputMethod);
    const bool typedAny = executor.typedAny();
    const auto handled = inputMethod.finished(result, typedAny, plan.giveBackInBand);
    order.read = typedAny ? window.waitUntilProcessed() : true;
    // An input method reading a terminal's keys through XIM looks them up in
    // the keyboard map when it gets to them, seconds behind after a long
    // order, and hands keys it passes on back to the terminal, which looks
    // them up again; neither can be asked how far it got.
    if (inputMethod.runs()) order.unreadFor = InputMethodGuard::kInputMethodPatience;
    // Keys the input method never got to are keys lost.
    if (handled && !*handled) result = TypeResult::Failed;
    return result;
}

} // namespace tavren::backend::x11
