#pragma once

#include "control.h"

#include <memory>
#include <vector>

namespace tavren::controls {

// The order in which the native counterpart of a control (its window, its
// widget) takes the control's properties when it is made: visibility last, so
// that nothing shows before it has its content. A form takes its state before
// showing, so that a form shown minimised or maximised shows so at once.
const std::vector<Property>& showingOrder(Kind kind);

// Marks the changes a view makes to a native control while it makes them. A
// native control reports its changes whoever made them: what it reports then is
// the echo of the view's own change, which must not reach the control as the
// user's input and raise the control's events a second time.
class EchoGuard {
public:
    // Held for as long as the view's change takes; holds may nest.
    class Hold {
    public:
        explicit Hold(EchoGuard& guard) : guard_(guard) { ++guard_.depth_; }
        ~Hold() { --guard_.depth_; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        EchoGuard& guard_;
    };

    bool active() const { return depth_ > 0; }

private:
    int depth_ = 0;
};

// A control as a view shows it: its native counterpart, kept in step with it.
// Each view has a class of these for every kind of control (and one for forms),
// which puts the properties on the native counterpart and turns what the user
// does there into the control's events. This base gives them one shape: every
// property in showing order when the counterpart is made, each change of the
// control after, for as long as the view object lives (controls may outlive
// their views), and what the counterpart reports meanwhile marked as the echo
// it is.
class ControlView {
public:
    explicit ControlView(Control& control);
    virtual ~ControlView() = default;
    ControlView(const ControlView&) = delete;
    ControlView& operator=(const ControlView&) = delete;

    Control& control() const { return control_; }

    // Shows every property of the control, in showing order: once, when the
    // native counterpart is made.
    void showAll();
    // Shows one property of the control.
    void showProperty(Property property);
    // From now on shows each change of the control, as long as this lives.
    void follow();

protected:
    // Puts one property of the control on the native counterpart.
    virtual void apply(Property property) = 0;
    // Whether what the native counterpart reports now is the echo of showProperty().
    bool isEcho() const { return echo_.active(); }

    EchoGuard echo_;

private:
    Control& control_;
    // Expires with this object, for the control's notifications, which may come after.
    std::shared_ptr<ControlView*> alive_;
};

} // namespace tavren::controls
