#pragma once

#include "view_context.h"

#include "platform/controls/control_view.h"
#include "platform/controls/controls.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace tavren::view::qt {

// The widget of one child control (frame, label, button, check box, option
// button, text field, drop-down), kept in step with its control. The properties
// every control has are put on the widget here; the class of each kind puts its
// own and turns the user's input on the widget into the control's events.
//
// Frames become plain containers, labels CaptionLabel, buttons QPushButton,
// check boxes tristate ControlledCheckBox, option buttons ControlledRadioButton,
// text fields QLineEdit and drop-downs editable QComboBox.
class ChildView : public controls::ControlView {
public:
    ChildView(controls::Control& control, QWidget* widget, ViewContext context);

    QWidget* widget() const { return widget_; }

protected:
    void apply(controls::Property property) override;
    // What the widget's signals are connected to: they end with this view.
    QObject* receiver() { return &receiver_; }

    ViewContext context_;

private:
    QPointer<QWidget> widget_;
    QObject receiver_;
};

// Makes the widget of a child control inside `parent` (not yet showing its
// properties: see showAll), or nothing for a control that has no widget of its
// own (forms, menu items, timers).
std::unique_ptr<ChildView> createChildView(controls::Control& control, QWidget* parent,
                                           const ViewContext& context);

} // namespace tavren::view::qt
