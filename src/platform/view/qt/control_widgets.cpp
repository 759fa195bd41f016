#include "control_widgets.h"

#include "classic_key_codes.h"
#include "wrapped_caption.h"

#include "platform/controls/caption_room.h"

#include <QFontInfo>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavren::view::qt {
namespace {

QPalette::ColorGroup colourGroup(const QWidget& widget) {
    if (!widget.isEnabled()) return QPalette::Disabled;
    return widget.isActiveWindow() ? QPalette::Active : QPalette::Inactive;
}

int emOf(const QWidget& widget) {
    return QFontInfo(widget.font()).pixelSize();
}

// Whether a sibling stacked above a control owns the part of the control it
// overlaps: every kind does but the labels, which lie above everything else and
// draw only their text (see WidgetRegistry::restackChildren).
bool ownsOverlap(const QWidget& widget) {
    return !qobject_cast<const QLabel*>(&widget);
}

// The part of `area` (in the widget's coordinates) that no sibling stacked above
// the widget overlaps (see controls::captionRoomBeside).
QRect uncoveredArea(const QWidget& widget, QRect area) {
    const QWidget* parent = widget.parentWidget();
    if (!parent) return area;
    const QObjectList& siblings = parent->children();
    for (qsizetype i = siblings.indexOf(&widget) + 1; i < siblings.size(); ++i) {
        const auto* above = qobject_cast<const QWidget*>(siblings[i]);
        if (!above || !above->isVisibleTo(parent) || !ownsOverlap(*above)) continue;
        const QRect cover = above->geometry().translated(-widget.pos());
        const controls::PixelEdges room = controls::captionRoomBeside(
            {area.left(), area.top(), area.left() + area.width(), area.top() + area.height()},
            {cover.left(), cover.top(), cover.left() + cover.width(),
             cover.top() + cover.height()});
        area = QRect(room.left, room.top, room.right - room.left, room.bottom - room.top);
    }
    return area;
}

} // namespace

int CaptionedIndicator::indicatorSize(QStyle::PrimitiveElement indicator, int em) {
    return indicator == QStyle::PE_IndicatorCheckBox ? em + 1 : em;
}

QRect CaptionedIndicator::captionArea(QStyle::PrimitiveElement indicator,
                                      const QAbstractButton& button) {
    const int em = emOf(button);
    const int left = indicatorSize(indicator, em) + static_cast<int>(std::lround(em / 3.0));
    return uncoveredArea(button,
                         QRect(left, 0, std::max(button.width() - left, 0), button.height()));
}

void CaptionedIndicator::paint(QAbstractButton& button, QStyle::PrimitiveElement indicator,
                               QStyleOptionButton option) {
    QPainter painter(&button);
    const int size = indicatorSize(indicator, emOf(button));
    option.rect = QRect(0, (button.height() - size) / 2, size, size);
    button.style()->drawPrimitive(indicator, &option, &painter, &button);

    const QRect area = captionArea(indicator, button);
    const Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    const WrappedCaption caption(button.text(), button.font(), area.size());
    painter.setPen(button.palette().color(colourGroup(button), button.foregroundRole()));
    caption.draw(painter, area, alignment);
    if (button.hasFocus() && !button.text().isEmpty()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(&button);
        focus.rect = caption.boundingRect(area, alignment).adjusted(-1, 0, 1, 1);
        button.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, &button);
    }
}

void ControlledCheckBox::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    CaptionedIndicator::paint(*this, QStyle::PE_IndicatorCheckBox, option);
}

void ControlledRadioButton::paintEvent(QPaintEvent*) {
    QStyleOptionButton option;
    initStyleOption(&option);
    CaptionedIndicator::paint(*this, QStyle::PE_IndicatorRadioButton, option);
}

void CaptionLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    painter.setPen(palette().color(colourGroup(*this), foregroundRole()));
    WrappedCaption(text(), font(), area.size()).draw(painter, area, alignment());
}

MouseForwarder::MouseForwarder(controls::Button& button, TwipsScale scale, QObject* parent)
    : QObject(parent), button_(button), scale_(scale) {}

bool MouseForwarder::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // The second press of a double click arrives as a double-click event: it is
    // a press all the same.
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (!press && type != QEvent::MouseButtonRelease) return QObject::eventFilter(watched, event);

    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int button = classicMouseButton(mouse->button());
    if (button == 0) return QObject::eventFilter(watched, event);
    const QPointF at = mouse->position();
    const controls::MouseEvent report{button, classicShiftState(mouse->modifiers()),
                                      at.x() * scale_.perPixelX, at.y() * scale_.perPixelY};
    if (press)
        button_.pressMouse(report);
    else
        button_.releaseMouse(report);
    // The push button handles the left button (pressed look, click); other
    // buttons stop here so that they do not reach the panel behind.
    return button != controls::kLeftButton;
}

KeyForwarder::KeyForwarder(controls::TextField& field, QObject* parent)
    : QObject(parent), field_(field) {}

bool KeyForwarder::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (const int code = classicKeyCode(key->key(), key->modifiers()))
            field_.pressKey(code, classicShiftState(key->modifiers()));
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tavren::view::qt
