#pragma once

#include "twips_scale.h"

#include "platform/controls/button.h"
#include "platform/controls/text_field.h"

#include <QCheckBox>
#include <QLabel>
#include <QObject>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>

namespace tavren::view::qt {

// Draws a check box or option button as the classic controls look: a compact
// indicator, centred in the height, and the caption beside it wrapped onto as many
// lines as the control's height holds. The whole control takes clicks, text and
// indicator alike.
class CaptionedIndicator {
public:
    // The indicator's size for a font `em` pixels high: a check box's square is a
    // pixel larger than the em, an option button's circle is one em across.
    static int indicatorSize(QStyle::PrimitiveElement indicator, int em);
    // Where the caption goes: beside the indicator, a third of an em away from it,
    // less what siblings stacked above the control overlap of it.
    static QRect captionArea(QStyle::PrimitiveElement indicator, const QAbstractButton& button);

    static void paint(QAbstractButton& button, QStyle::PrimitiveElement indicator,
                      QStyleOptionButton option);
};

// A check box that leaves its state to its control: a click does not cycle the
// state itself, the control decides (unchecked -> checked, anything else ->
// unchecked) and the view shows the result.
class ControlledCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent* event) override;
};

// An option button that leaves its state to its control, which also clears the
// other options of its container. Qt's own exclusivity stays off: it would refuse
// to show a group with no option selected, which the controls allow.
class ControlledRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override {}
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent* event) override;
};

// A label whose caption wraps as the classic labels' do (see WrappedCaption).
class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
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

} // namespace tavren::view::qt
