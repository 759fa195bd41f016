#include "child_views.h"

#include "control_widgets.h"
#include "palette_colours.h"

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace tavren::view::qt {
namespace {

using controls::Property;

QString toQString(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

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

class FrameView : public ChildView {
public:
    FrameView(controls::Frame& frame, QFrame* widget, ViewContext context)
        : ChildView(frame, widget, context) {
        widget->setFrameShape(QFrame::NoFrame);
        // Panels overlap: the one in front must hide the others completely.
        widget->setAutoFillBackground(true);
    }
    void apply(Property property) override {
        if (property == Property::ZOrder && widget()) {
            context_.registry->restackChildren(control());
            return;
        }
        ChildView::apply(property);
    }
};

class LabelView : public ChildView {
public:
    LabelView(controls::Label& label, CaptionLabel* widget, ViewContext context)
        : ChildView(label, widget, context), label_(label), widget_(widget) {
        // Labels lie above their siblings (see restackChildren): clicks go
        // through to the controls below.
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget->setTextFormat(Qt::PlainText);
        widget->setWordWrap(true);
        widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    void apply(Property property) override {
        if (!widget_) return;
        if (property == Property::Caption) widget_->setText(toQString(label_.caption()));
        if (property == Property::Colour)
            widget_->setPalette(paletteWith(QApplication::palette(widget_), QPalette::WindowText,
                                            label_.foreColour()));
        ChildView::apply(property);
    }

private:
    controls::Label& label_;
    QPointer<CaptionLabel> widget_;
};

class ButtonView : public ChildView {
public:
    ButtonView(controls::Button& button, QPushButton* widget, ViewContext context)
        : ChildView(button, widget, context), button_(button), widget_(widget) {
        widget->installEventFilter(new MouseForwarder(button, context.scale, widget));
        QObject::connect(widget, &QPushButton::clicked, receiver(), [this] {
            if (!isEcho()) button_.click();
        });
    }
    void apply(Property property) override {
        if (!widget_) return;
        if (property == Property::Caption) widget_->setText(toQString(button_.caption()));
        if (property == Property::Colour) {
            // The palette rather than a style sheet: a style sheet would replace
            // the style's drawing of the button altogether.
            const bool themed = button_.backColour() == controls::kButtonFace;
            widget_->setPalette(themed ? QApplication::palette(widget_)
                                       : paletteWith(QApplication::palette(widget_),
                                                     QPalette::Button, button_.backColour()));
            widget_->setAutoFillBackground(!themed);
        }
        ChildView::apply(property);
    }

private:
    controls::Button& button_;
    QPointer<QPushButton> widget_;
};

class CheckBoxView : public ChildView {
public:
    CheckBoxView(controls::CheckBox& box, ControlledCheckBox* widget, ViewContext context)
        : ChildView(box, widget, context), box_(box), widget_(widget) {
        widget->setTristate(true);
        // A click (mouse, keyboard) leaves the widget's state alone and lets the
        // control decide the next state.
        QObject::connect(widget, &QCheckBox::clicked, receiver(), [this] {
            if (!isEcho()) box_.toggleByUser();
        });
        // Any other change of the widget's state came from outside the control
        // (an assistive tool's toggle action, setChecked): the control takes
        // that state, so what the box shows is what the program goes by.
        QObject::connect(widget, &QCheckBox::stateChanged, receiver(), [this](int state) {
            if (!isEcho()) box_.setValue(fromCheckState(static_cast<Qt::CheckState>(state)));
        });
    }
    void apply(Property property) override {
        if (!widget_) return;
        if (property == Property::Caption) widget_->setText(toQString(box_.caption()));
        if (property == Property::Value) widget_->setCheckState(toCheckState(box_.value()));
        ChildView::apply(property);
    }

private:
    controls::CheckBox& box_;
    QPointer<ControlledCheckBox> widget_;
};

class OptionButtonView : public ChildView {
public:
    OptionButtonView(controls::OptionButton& option, ControlledRadioButton* widget,
                     ViewContext context)
        : ChildView(option, widget, context), option_(option), widget_(widget) {
        widget->setAutoExclusive(false);
        // A click on the option, selected or not, is the user's click.
        QObject::connect(widget, &QRadioButton::clicked, receiver(), [this] {
            if (!isEcho()) option_.clickByUser();
        });
        // A change of the widget's state from outside the control (an assistive
        // tool's toggle action, setChecked) is a click on the option as well; an
        // option is never unselected that way, so the widget shows the control's
        // state again afterwards.
        QObject::connect(widget, &QRadioButton::toggled, receiver(), [this](bool) {
            if (isEcho()) return;
            option_.clickByUser();
            showProperty(Property::Value);
        });
    }
    void apply(Property property) override {
        if (!widget_) return;
        if (property == Property::Caption) widget_->setText(toQString(option_.caption()));
        if (property == Property::Value) widget_->setChecked(option_.value());
        ChildView::apply(property);
    }

private:
    controls::OptionButton& option_;
    QPointer<ControlledRadioButton> widget_;
};

class TextFieldView : public ChildView {
public:
    TextFieldView(controls::TextField& field, QLineEdit* widget, ViewContext context)
        : ChildView(field, widget, context), field_(field), widget_(widget) {
        widget->installEventFilter(new KeyForwarder(field, widget));
        QObject::connect(widget, &QLineEdit::textEdited, receiver(), [this](const QString& text) {
            if (!isEcho()) field_.setText(text.toStdString());
        });
    }
    void apply(Property property) override {
        if (!widget_) return;
        if (property == Property::Text) {
            const QString text = toQString(field_.text());
            // Only a real change is written, so that the cursor stays where the
            // user's typing left it.
            if (widget_->text() != text) widget_->setText(text);
        }
        ChildView::apply(property);
    }

private:
    controls::TextField& field_;
    QPointer<QLineEdit> widget_;
};

class ComboBoxView : public ChildView {
public:
    ComboBoxView(controls::ComboBox& combo, QComboBox* widget, ViewContext context)
        : ChildView(combo, widget, context), combo_(combo), widget_(widget) {
        widget->setEditable(true);
        // The list holds what the program puts there: Enter must not add the edit
        // text to it, and typing must not complete it from the entries.
        widget->setInsertPolicy(QComboBox::NoInsert);
        widget->setCompleter(nullptr);
        QObject::connect(widget, &QComboBox::activated, receiver(), [this](int position) {
            if (!isEcho()) combo_.setListIndex(position);
        });
        // Only the user's own edits: a pick from the list is a pick, not an edit.
        QObject::connect(widget->lineEdit(), &QLineEdit::textEdited, receiver(),
                         [this](const QString& text) {
                             if (!isEcho()) combo_.setText(text.toStdString());
                         });
    }
    void apply(Property property) override;

private:
    controls::ComboBox& combo_;
    QPointer<QComboBox> widget_;
};

void ComboBoxView::apply(Property property) {
    if (!widget_) return;
    const QString text = toQString(combo_.text());
    switch (property) {
    case Property::Items:
        widget_->clear();
        for (const std::string& item : combo_.items())
            widget_->addItem(toQString(item));
        widget_->setCurrentIndex(combo_.listIndex());
        widget_->setEditText(text);
        break;
    case Property::Value: {
        // A pick dropped by the user's typing leaves the text as typed: only
        // the list's mark goes, and the cursor stays where the typing is.
        QLineEdit* edit = widget_->lineEdit();
        const QString before = edit->text();
        const int cursor = edit->cursorPosition();
        widget_->setCurrentIndex(combo_.listIndex());
        if (edit->text() != text) widget_->setEditText(text);
        if (text == before) edit->setCursorPosition(cursor);
        break;
    }
    case Property::Text:
        if (widget_->currentText() != text) widget_->setEditText(text);
        break;
    case Property::Colour:
        widget_->setPalette(
            paletteWith(QApplication::palette(widget_), QPalette::Base, combo_.backColour()));
        break;
    default:
        ChildView::apply(property);
    }
}

} // namespace

ChildView::ChildView(controls::Control& control, QWidget* widget, ViewContext context)
    : ControlView(control), context_(context), widget_(widget) {}

void ChildView::apply(Property property) {
    if (!widget_) return;
    switch (property) {
    case Property::Geometry:
        widget_->setGeometry(toQRect(context_.scale, control().geometry()));
        break;
    case Property::Visible:
        widget_->setVisible(control().visible());
        break;
    case Property::Enabled:
        widget_->setEnabled(control().enabled());
        break;
    default:
        break;
    }
}

std::unique_ptr<ChildView> createChildView(controls::Control& control, QWidget* parent,
                                           const ViewContext& context) {
    using controls::Kind;
    switch (control.kind()) {
    case Kind::Frame:
        return std::make_unique<FrameView>(static_cast<controls::Frame&>(control),
                                           new QFrame(parent), context);
    case Kind::Label:
        return std::make_unique<LabelView>(static_cast<controls::Label&>(control),
                                           new CaptionLabel(parent), context);
    case Kind::Button:
        return std::make_unique<ButtonView>(static_cast<controls::Button&>(control),
                                            new QPushButton(parent), context);
    case Kind::CheckBox:
        return std::make_unique<CheckBoxView>(static_cast<controls::CheckBox&>(control),
                                              new ControlledCheckBox(parent), context);
    case Kind::OptionButton:
        return std::make_unique<OptionButtonView>(static_cast<controls::OptionButton&>(control),
                                                  new ControlledRadioButton(parent), context);
    case Kind::TextField:
        return std::make_unique<TextFieldView>(static_cast<controls::TextField&>(control),
                                               new QLineEdit(parent), context);
    case Kind::ComboBox:
        return std::make_unique<ComboBoxView>(static_cast<controls::ComboBox&>(control),
                                              new QComboBox(parent), context);
    case Kind::Form:
    case Kind::MenuItem:
    case Kind::Timer:
        break;
    }
    return nullptr;
}

} // namespace tavren::view::qt
