#pragma once

#include <memory>
#include <optional>
#include <string>

namespace tavren::backend::x11 {

// A key the input method acts on itself, as its settings name it.
struct InputMethodKey {
    std::string keysym; // an X keysym name: "Hangul_Hanja", "space"
    bool control = false;
    bool shift = false;
    bool alt = false;
};

// An input method (fcitx5, ibus) stands between synthesised keys and the window
// they are typed into: in a Japanese mode it composes letters ("go" becomes
// "ご") and an Enter only commits the composition. Orders are literal text, so
// the focused window's input context is turned to direct input while they are
// typed, and given back afterwards as it was.
class InputMethod {
public:
    // The state found before typing. Unless the give-back key was typed, it is
    // given back over the bus when the object goes.
    class Suspension {
    public:
        virtual ~Suspension() = default;
        // Typed before the order's first key, this key turns the input context
        // to direct input: in the same stream as the order's keys, it takes
        // effect after anything typed before (an earlier order's give-back
        // key still on its way) and before the order. Nothing when the input
        // context was turned over the bus already.
        virtual std::optional<InputMethodKey> directKey() const = 0;
        // The direct key cannot be typed: turn over the bus instead.
        virtual void turnNow() = 0;
        // Typed after the order's last key, this key gives the state back: it
        // travels with the order's keys through the window to the input method,
        // so it takes effect exactly after them, however far behind the input
        // method is. Nothing when the input method has no such key.
        virtual std::optional<InputMethodKey> giveBackKey() const = 0;
        // The give-back key was typed: nothing is left to do.
        virtual void givenBack() = 0;
        // Whether the give-back key took effect, which shows the input method
        // has handled every key typed before it, in the focused window's input
        // context. Nothing when the input method cannot tell.
        virtual std::optional<bool> tookEffect() = 0;
        // The input method hands the order's characters on to the window as
        // text: the window's own compose handling never sees their keys.
        virtual bool handsCharactersOnAsText() const { return false; }
        // The focus moved on in the middle of the order: giving the state back
        // over the bus would act on another window's input context, so it is
        // left as it is.
        virtual void abandon() = 0;
    };

    virtual ~InputMethod() = default;

    // Turns the input context of the focused window, `window`, to direct
    // input (or says which key does). Nothing when there is nothing to give
    // back: no input method runs, or it passes keys on as they are already.
    virtual std::unique_ptr<Suspension> turnToDirectInput(unsigned long window) = 0;
    // Returns once the running input method has handled every key it was
    // handed before the call.
    virtual void catchUp() = 0;
    // Whether an input method serves the desktop now. Asking a desktop without
    // one costs a round trip to the bus daemon and nothing else.
    virtual bool running() = 0;
};

} // namespace tavren::backend::x11
