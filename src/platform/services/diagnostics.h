#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tavren::services {

// The failures the program passes over without a word to the user, by design.
enum class IgnoredFailure : std::uint8_t {
    LinkNotOpened,      // the IRC client's conversation did not open
    CommandNotExecuted, // a command on the IRC link was refused or not answered
    OrderNotTyped,      // an order was not typed, or not all of it
    WindowNotInFront,   // a picked window did not come to the front
    SettingsNotWritten, // the settings file could not be written
    OrderFileStopped,   // the order file could not be read, or a line stopped its load
    KeysNotFollowed,    // a window's reading of its keys could not be followed
};

// What a user's helper reads: which failure, and why in the words of the step
// that saw it.
struct Failure {
    IgnoredFailure what;
    std::string reason;
};

// Where ignored failures go. The windows never show them; a program started to
// help find a fault writes them out.
class Diagnostics {
public:
    virtual ~Diagnostics() = default;
    virtual void report(const Failure& failure) = 0;
};

// The default: failures stay as silent as the windows.
class NoDiagnostics final : public Diagnostics {
public:
    void report(const Failure&) override {}
    // One for components built without a place to report to; it holds nothing.
    static Diagnostics& instance() {
        static NoDiagnostics none;
        return none;
    }
};

// The failure as one line of text, without the line break: control characters
// in the reason (an order line may hold a lone LF) become spaces.
inline std::string describe(const Failure& failure) {
    std::string_view what = "failure";
    switch (failure.what) {
    case IgnoredFailure::LinkNotOpened:
        what = "the IRC client's link did not open";
        break;
    case IgnoredFailure::CommandNotExecuted:
        what = "the IRC client did not execute a command";
        break;
    case IgnoredFailure::OrderNotTyped:
        what = "an order was not typed";
        break;
    case IgnoredFailure::WindowNotInFront:
        what = "a window did not come to the front";
        break;
    case IgnoredFailure::SettingsNotWritten:
        what = "the settings file was not written";
        break;
    case IgnoredFailure::OrderFileStopped:
        what = "the order file stopped loading";
        break;
    case IgnoredFailure::KeysNotFollowed:
        what = "a window's reading of its keys could not be followed";
        break;
    }
    std::string line(what);
    line += ": ";
    for (char c : failure.reason)
        line += (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) ? ' ' : c;
    return line;
}

} // namespace tavren::services
