#pragma once

#include "twips_scale.h"
#include "widget_registry.h"

#include "platform/controls/controls.h"

#include <memory>

class QMenuBar;
class QWidget;

namespace tavren::view::qt {

// Builds one Qt object per control of a tree and keeps it in step with its control;
// turns user input on it into the control's events. Programmatic updates are made
// with the widget's signals blocked, so they never come back as user input.
//
// Frames become plain containers, labels QLabel, buttons QPushButton, check boxes
// tristate QCheckBox, option buttons QRadioButton, text fields QLineEdit, combo
// boxes editable QComboBox, menu items actions of the menu bar and timers QTimer.
// The tree must be complete when it is built: controls added later get no widget.
class WidgetBinder {
public:
    WidgetBinder(TwipsScale scale, std::shared_ptr<WidgetRegistry> registry);

    // Builds the children of `container` (recursively) into `containerWidget`;
    // menu items go to `menuBar` (none: they are left out).
    void buildChildren(controls::Control& container, QWidget* containerWidget, QMenuBar* menuBar);

private:
    void build(controls::Control& control, QWidget* parent, QMenuBar* menuBar);
    QWidget* buildFrame(controls::Frame& frame, QMenuBar* menuBar, QWidget* parent);

    TwipsScale scale_;
    std::shared_ptr<WidgetRegistry> registry_;
};

} // namespace tavren::view::qt
