#pragma once

#include "twips_scale.h"

#include "platform/controls/button.h"
#include "platform/controls/text_field.h"

#include <QCheckBox>
#include <QObject>
#include <QRadioButton>

namespace tavren::qt {

// A check box that leaves its state to its control: a click does not cycle the
// state itself, the control decides (unchecked -> checked, anything else ->
// unchecked) and the view shows the result.
class ControlledCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

// An option button that leaves its state to its control, which also clears the
// other options of its container. Qt's own exclusivity stays off: it would refuse
// to show a group with no option selected, which the controls allow.
class ControlledRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override {}
};

// Reports every mouse press and release on a push button to its control, whichever
// mouse button it is: the push button itself reacts to the left button only, and
// lets the other presses fall through to its parent.
class MouseForwarder : public QObject {
public:
    MouseForwarder(controls::Button& button, TwipsScale scale, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    controls::Button& button_;
    TwipsScale scale_;
};

// Reports key presses in a text field to its control before the field edits its text.
class KeyForwarder : public QObject {
public:
    KeyForwarder(controls::TextField& field, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    controls::TextField& field_;
};

} // namespace tavren::qt
