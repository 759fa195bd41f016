#pragma once

#include <functional>
#include <memory>
#include <string>

class QDBusVirtualObject;

namespace tavren::backend::dbus {

class BusConnection;

// Where a running Tavren takes presses asked for from outside it (`tavren
// --press N`, a desktop shortcut, a macro pad's tool): docs/ipc.md.
inline constexpr char kPressBusName[] = "org.tavren.Tavren";
inline constexpr char kPressObjectPath[] = "/org/tavren/Tavren";
inline constexpr char kPressInterface[] = "org.tavren.Tavren";
// The error answered for a button the board does not show.
inline constexpr char kNotShownError[] = "org.tavren.Tavren.Error.NotShown";

// Serves Press(u number, b right) on the session bus for as long as it lives:
// each call runs `press` (in the event loop, as a mouse press runs) and is
// answered once the press has ended. `press` returns false for a button the
// board does not show. When another Tavren of the session serves the name
// already, this one serves nothing: presses go to the first.
class PressService {
public:
    using Press = std::function<bool(int number, bool right)>;
    PressService(const std::string& busAddress, Press press);
    ~PressService();
    PressService(const PressService&) = delete;
    PressService& operator=(const PressService&) = delete;

    bool serving() const { return serving_; }

private:
    std::unique_ptr<BusConnection> bus_;
    std::unique_ptr<QDBusVirtualObject> object_;
    bool serving_ = false;
};

// What asking the running Tavren to press gave.
struct PressOutcome {
    bool pressed = false;
    std::string why; // when not pressed: one line for the user, without its newline
};

// Asks the Tavren running in the session behind `busAddress` to press button
// `number`, and waits until that press has ended. Starts nothing.
PressOutcome askRunningTavrenToPress(const std::string& busAddress, int number, bool right);

} // namespace tavren::backend::dbus
