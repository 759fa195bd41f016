#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XInput.h>

#include <string>

namespace tavren::testkeys {

// The desktop's own keyboard device (Xvfb's, a physical one elsewhere), whose
// keys a test holds and lets go as a user's fingers would, through XTest on a
// connection of its own. The server keeps each device's keys apart: a key held
// here is down on the core keyboard while the XTest device that synthesised keys
// come from has it up, exactly as with a key held by hand (keys held with
// xdotool are on that same XTest device instead, which hides the difference).
//
// Every key held is let go when the object ends.
class PhysicalKeyboard {
public:
    // Throws std::runtime_error when the server has no such device or lacks XTest.
    PhysicalKeyboard();
    ~PhysicalKeyboard();
    PhysicalKeyboard(const PhysicalKeyboard&) = delete;
    PhysicalKeyboard& operator=(const PhysicalKeyboard&) = delete;

    // Holds or lets go the key of a keysym ("Return", "a"); false when no key of
    // the keyboard map has it. Returns once the server has processed it.
    bool hold(const std::string& keysymName);
    bool letGo(const std::string& keysymName);

private:
    bool fake(const std::string& keysymName, bool down);

    Display* display_;
    XDevice* device_ = nullptr;
    char held_[32] = {};
};

} // namespace tavren::testkeys
