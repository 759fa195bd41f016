#include "widget_binder.h"

#include "control_widgets.h"
#include "palette_colours.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <functional>
#include <utility>

namespace tavren::view::qt {
namespace {

using controls::Property;
using SpecificUpdate = std::function<void(Property)>;

QString toQString(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// Properties a newly built widget takes from its control, visibility last so that
// a widget is never shown before it has its content.
constexpr Property kInitialProperties[] = {Property::Geometry, Property::Enabled, Property::Caption,
                                           Property::Items,    Property::Value,   Property::Text,
                                           Property::Colour,   Property::Visible};

Qt::CheckState toCheckState(int value) {
    switch (value) {
    case 0:
        return Qt::Unchecked;
    case 1:
        return Qt::Checked;
    default:
        return Qt::PartiallyChecked;
    }
}

int fromCheckState(Qt::CheckState state) {
    switch (state) {
    case Qt::Unchecked:
        return 0;
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        break;
    }
    return 2;
}

// Connects a widget to its control: the properties every control has are handled
// here, the others by `specific`.
void bindWidget(controls::Control& control, QWidget* widget, const TwipsScale& scale,
                const std::shared_ptr<WidgetRegistry>& registry, SpecificUpdate specific) {
    registry->add(control, widget);
    std::weak_ptr<WidgetRegistry> weakRegistry = registry;
    QPointer<QWidget> guarded = widget;
    auto update = [&control, guarded, scale, weakRegistry,
                   specific = std::move(specific)](Property p) {
        if (!guarded) return;
        switch (p) {
        case Property::Geometry:
            guarded->setGeometry(toQRect(scale, control.geometry()));
            break;
        case Property::Visible:
            guarded->setVisible(control.visible());
            break;
        case Property::Enabled:
            guarded->setEnabled(control.enabled());
            break;
        case Property::ZOrder:
            if (auto r = weakRegistry.lock()) r->restackChildren(control);
            break;
        default:
            if (specific) specific(p);
        }
    };
    for (Property p : kInitialProperties)
        update(p);
    control.changed.connect(std::move(update));
}

QWidget* buildLabel(controls::Label& label, QWidget* parent, SpecificUpdate& specific) {
    auto* widget = new CaptionLabel(parent);
    // Labels lie above their siblings (see restackChildren): clicks go through
    // to the controls below.
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    widget->setTextFormat(Qt::PlainText);
    widget->setWordWrap(true);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPointer<QLabel> w = widget;
    specific = [&label, w](Property p) {
        if (!w) return;
        if (p == Property::Caption) w->setText(toQString(label.caption()));
        if (p == Property::Colour)
            w->setPalette(
                paletteWith(QApplication::palette(w), QPalette::WindowText, label.foreColour()));
    };
    return widget;
}

QWidget* buildButton(controls::Button& button, QWidget* parent, const TwipsScale& scale,
                     SpecificUpdate& specific) {
    auto* widget = new QPushButton(parent);
    widget->installEventFilter(new MouseForwarder(button, scale, widget));
    QObject::connect(widget, &QPushButton::clicked, widget, [&button] { button.click(); });
    QPointer<QPushButton> w = widget;
    specific = [&button, w](Property p) {
        if (!w) return;
        if (p == Property::Caption) w->setText(toQString(button.caption()));
        if (p == Property::Colour) {
            // The palette rather than a style sheet: a style sheet would replace
            // the style's drawing of the button altogether.
            const bool themed = button.backColour() == controls::kButtonFace;
            w->setPalette(themed ? QApplication::palette(w)
                                 : paletteWith(QApplication::palette(w), QPalette::Button,
                                               button.backColour()));
            w->setAutoFillBackground(!themed);
        }
    };
    return widget;
}

QWidget* buildCheckBox(controls::CheckBox& box, QWidget* parent, SpecificUpdate& specific) {
    auto* widget = new ControlledCheckBox(parent);
    widget->setTristate(true);
    QPointer<QCheckBox> w = widget;
    auto show = [&box, w] {
        if (!w) return;
        const QSignalBlocker blocker(w);
        w->setCheckState(toCheckState(box.value()));
    };
    // A click (mouse, keyboard) leaves the widget's state alone and lets the
    // control decide the next state.
    QObject::connect(widget, &QCheckBox::clicked, widget, [&box] { box.toggleByUser(); });
    // Any other change of the widget's state came from outside the control (an
    // assistive tool's toggle action, setChecked): the control takes that state,
    // so what the box shows is what the program goes by.
    QObject::connect(widget, &QCheckBox::stateChanged, widget, [&box](int state) {
        box.setValue(fromCheckState(static_cast<Qt::CheckState>(state)));
    });
    specific = [&box, w, show](Property p) {
        if (!w) return;
        const QSignalBlocker blocker(w);
        if (p == Property::Caption) w->setText(toQString(box.caption()));
        if (p == Property::Value) show();
    };
    return widget;
}

QWidget* buildOptionButton(controls::OptionButton& option, QWidget* parent,
                           SpecificUpdate& specific) {
    auto* widget = new ControlledRadioButton(parent);
    widget->setAutoExclusive(false);
    QPointer<QRadioButton> w = widget;
    auto show = [&option, w] {
        if (!w) return;
        const QSignalBlocker blocker(w);
        w->setChecked(option.value());
    };
    // A click on the option, selected or not, is the user's click.
    QObject::connect(widget, &QRadioButton::clicked, widget, [&option] { option.clickByUser(); });
    // A change of the widget's state from outside the control (an assistive
    // tool's toggle action, setChecked) is a click on the option as well; an
    // option is never unselected that way, so the widget shows the control's
    // state again afterwards.
    QObject::connect(widget, &QRadioButton::toggled, widget, [&option, show](bool) {
        option.clickByUser();
        show();
    });
    specific = [&option, w, show](Property p) {
        if (!w) return;
        const QSignalBlocker blocker(w);
        if (p == Property::Caption) w->setText(toQString(option.caption()));
        if (p == Property::Value) show();
    };
    return widget;
}

QWidget* buildTextField(controls::TextField& field, QWidget* parent, SpecificUpdate& specific) {
    auto* widget = new QLineEdit(parent);
    widget->installEventFilter(new KeyForwarder(field, widget));
    QObject::connect(widget, &QLineEdit::textEdited, widget,
                     [&field](const QString& text) { field.setText(text.toStdString()); });
    QPointer<QLineEdit> w = widget;
    specific = [&field, w](Property p) {
        if (!w || p != Property::Text) return;
        const QString text = toQString(field.text());
        // Only a real change is written, so that the cursor stays where the
        // user's typing left it.
        if (w->text() == text) return;
        const QSignalBlocker blocker(w);
        w->setText(text);
    };
    return widget;
}

QWidget* buildComboBox(controls::ComboBox& combo, QWidget* parent, SpecificUpdate& specific) {
    auto* widget = new QComboBox(parent);
    widget->setEditable(true);
    // The list holds what the program puts there: Enter must not add the edit
    // text to it, and typing must not complete it from the entries.
    widget->setInsertPolicy(QComboBox::NoInsert);
    widget->setCompleter(nullptr);
    QObject::connect(widget, &QComboBox::activated, widget,
                     [&combo](int position) { combo.setListIndex(position); });
    // Only the user's own edits: a pick from the list is a pick, not an edit.
    QObject::connect(widget->lineEdit(), &QLineEdit::textEdited, widget,
                     [&combo](const QString& text) { combo.setText(text.toStdString()); });
    QPointer<QComboBox> w = widget;
    specific = [&combo, w](Property p) {
        if (!w) return;
        const QSignalBlocker blocker(w);
        const QSignalBlocker editBlocker(w->lineEdit());
        const QString text = toQString(combo.text());
        switch (p) {
        case Property::Items:
            w->clear();
            for (const std::string& item : combo.items())
                w->addItem(toQString(item));
            w->setCurrentIndex(combo.listIndex());
            w->setEditText(text);
            break;
        case Property::Value: {
            // A pick dropped by the user's typing leaves the text as typed: only
            // the list's mark goes, and the cursor stays where the typing is.
            QLineEdit* edit = w->lineEdit();
            const QString before = edit->text();
            const int cursor = edit->cursorPosition();
            w->setCurrentIndex(combo.listIndex());
            if (edit->text() != text) w->setEditText(text);
            if (text == before) edit->setCursorPosition(cursor);
            break;
        }
        case Property::Text:
            if (w->currentText() != text) w->setEditText(text);
            break;
        case Property::Colour:
            w->setPalette(
                paletteWith(QApplication::palette(w), QPalette::Base, combo.backColour()));
            break;
        default:
            break;
        }
    };
    return widget;
}

void bindMenuItem(controls::MenuItem& item, QMenuBar* menuBar,
                  const std::shared_ptr<WidgetRegistry>& registry) {
    auto* action = menuBar->addAction(toQString(item.caption()));
    registry->add(item, action);
    QObject::connect(action, &QAction::triggered, action, [&item] { item.click(); });
    QPointer<QAction> a = action;
    auto update = [&item, a](Property p) {
        if (!a) return;
        if (p == Property::Caption) a->setText(toQString(item.caption()));
        if (p == Property::Visible) a->setVisible(item.visible());
        if (p == Property::Enabled) a->setEnabled(item.enabled());
    };
    for (Property p : kInitialProperties)
        update(p);
    item.changed.connect(std::move(update));
}

void bindTimer(controls::Timer& timer, QObject* owner,
               const std::shared_ptr<WidgetRegistry>& registry) {
    auto* qtimer = new QTimer(owner);
    registry->add(timer, qtimer);
    QObject::connect(qtimer, &QTimer::timeout, qtimer, [&timer] { timer.tick(); });
    QPointer<QTimer> t = qtimer;
    auto update = [&timer, t](Property p) {
        if (!t || (p != Property::Value && p != Property::Enabled)) return;
        // Setting the interval starts the count again, as it does on a running timer.
        if (timer.enabled() && timer.interval() > 0)
            t->start(timer.interval());
        else
            t->stop();
    };
    update(Property::Value);
    timer.changed.connect(std::move(update));
}

} // namespace

WidgetBinder::WidgetBinder(TwipsScale scale, std::shared_ptr<WidgetRegistry> registry)
    : scale_(scale), registry_(std::move(registry)) {}

void WidgetBinder::buildChildren(controls::Control& container, QWidget* containerWidget,
                                 QMenuBar* menuBar) {
    for (controls::Control* child : container.children())
        build(*child, containerWidget, menuBar);
    registry_->restackChildren(container);
}

void WidgetBinder::build(controls::Control& control, QWidget* parent, QMenuBar* menuBar) {
    using controls::Kind;
    SpecificUpdate specific;
    QWidget* widget = nullptr;
    switch (control.kind()) {
    case Kind::Frame:
        buildFrame(static_cast<controls::Frame&>(control), menuBar, parent);
        return;
    case Kind::Label:
        widget = buildLabel(static_cast<controls::Label&>(control), parent, specific);
        break;
    case Kind::Button:
        widget = buildButton(static_cast<controls::Button&>(control), parent, scale_, specific);
        break;
    case Kind::CheckBox:
        widget = buildCheckBox(static_cast<controls::CheckBox&>(control), parent, specific);
        break;
    case Kind::OptionButton:
        widget = buildOptionButton(static_cast<controls::OptionButton&>(control), parent, specific);
        break;
    case Kind::TextField:
        widget = buildTextField(static_cast<controls::TextField&>(control), parent, specific);
        break;
    case Kind::ComboBox:
        widget = buildComboBox(static_cast<controls::ComboBox&>(control), parent, specific);
        break;
    case Kind::MenuItem:
        if (menuBar) bindMenuItem(static_cast<controls::MenuItem&>(control), menuBar, registry_);
        return;
    case Kind::Timer:
        bindTimer(static_cast<controls::Timer&>(control), parent, registry_);
        return;
    case Kind::Form: // a window inside a window: not a thing the controls build
        return;
    }
    bindWidget(control, widget, scale_, registry_, std::move(specific));
}

QWidget* WidgetBinder::buildFrame(controls::Frame& frame, QMenuBar* menuBar, QWidget* parent) {
    auto* widget = new QFrame(parent);
    widget->setFrameShape(QFrame::NoFrame);
    // Panels overlap: the one in front must hide the others completely.
    widget->setAutoFillBackground(true);
    buildChildren(frame, widget, menuBar);
    bindWidget(frame, widget, scale_, registry_, {});
    return widget;
}

} // namespace tavren::view::qt
