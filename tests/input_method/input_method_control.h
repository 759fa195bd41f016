#pragma once

#include <memory>
#include <ostream>
#include <string>

namespace tavren {

enum class InputMode {
    Direct,                // the input method hands keys on as they are
    Hiragana,              // mozc composes letters into kana
    HalfWidthAlphanumeric, // mozc composes letters as they are: Enter only commits them
    Other,                 // any other of mozc's modes
};

// For test failures: the mode by name.
void PrintTo(InputMode mode, std::ostream* out);

// The test's own hand on the desktop's input method, through the input
// method's command-line tools and a panel of its own rather than the code under
// test: it sets the mode a user would have chosen (mozc's from the panel's
// menu), reads it back (off the panel), and types as the user does.
class InputMethodControl {
public:
    virtual ~InputMethodControl() = default;

    // The input method with_input_method.sh started; nothing when none did.
    static std::unique_ptr<InputMethodControl> forThisDesktop();

    // For the focused window.
    virtual bool setMode(InputMode mode) = 0;
    virtual InputMode mode() = 0;

    // Types `letters`, Enter and Enter again through xdotool: what the user
    // gets in the target's log then tells the input method's mode.
    bool typeAsTheUser(const std::string& letters);
    static std::string whatTheUserGets(const std::string& letters, InputMode mode);
};

} // namespace tavren
