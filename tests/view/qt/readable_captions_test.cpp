// Every caption of the two windows readable at the designed geometry: the main
// window (settings panel and order board) and the nick window as start-up builds
// them, walked widget by widget at 96, 144 and 192 DPI. Each caption's lines,
// in the font they are drawn in and at its full line height, must lie inside the
// control (beside its box or circle), clear of every other control's caption and
// of every control stacked above it.
#include "app/main_window.h"
#include "fakes/fake_services.h"
#include "platform/view/qt/control_widgets.h"
#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/wrapped_caption.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavren;
using namespace tavren::view::qt;

namespace {

// What a widget shows, in the coordinates of the panel or window it is on.
struct Shown {
    QWidget* widget = nullptr;
    QString name;
    QList<QRect> text;   // one box per line: its advance wide, the font's height high
    QRect room;          // where the text must stay
    QList<QRect> marks;  // an indicator's box or circle
    bool opaque = false; // paints its whole rectangle
};

QString nameOf(const QWidget* w) {
    const QString text = qobject_cast<const QAbstractButton*>(w)
                             ? static_cast<const QAbstractButton*>(w)->text()
                         : qobject_cast<const QLabel*>(w) ? static_cast<const QLabel*>(w)->text()
                                                          : QString();
    return QString::fromLatin1(w->metaObject()->className()) + " \"" + text + "\"";
}

// The lines of a wrapped caption, each at the full height of the font it is drawn in.
QList<QRect> captionLines(const WrappedCaption& caption, const QRect& area,
                          Qt::Alignment alignment) {
    const QFontMetrics metrics(caption.font());
    const QRect block = caption.boundingRect(area, alignment);
    QList<QRect> lines;
    int top = block.top();
    for (const QString& line : caption.lines()) {
        const int width = metrics.horizontalAdvance(line);
        int left = block.left();
        if (alignment & Qt::AlignHCenter) left = area.left() + (area.width() - width) / 2;
        lines.push_back(QRect(left, top, width, metrics.height()));
        top += caption.linePitch();
    }
    return lines;
}

// One line of `font` centred in `room`, as push buttons, text fields and drop-down
// boxes draw theirs.
QRect centredLine(const QFont& font, const QRect& room, const QString& text) {
    const QFontMetrics metrics(font);
    const QSize size(text.isEmpty() ? room.width() : metrics.horizontalAdvance(text),
                     metrics.height());
    return QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, room);
}

Shown shownBy(QWidget* w) {
    Shown s;
    s.widget = w;
    s.name = nameOf(w);
    if (auto* box = qobject_cast<QCheckBox*>(w); box || qobject_cast<QRadioButton*>(w)) {
        const auto indicator = box ? QStyle::PE_IndicatorCheckBox : QStyle::PE_IndicatorRadioButton;
        auto* button = static_cast<QAbstractButton*>(w);
        s.room = CaptionedIndicator::captionArea(indicator, *button);
        const Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
        s.text = captionLines(WrappedCaption(button->text(), w->font(), s.room.size()), s.room,
                              alignment);
        const int size =
            CaptionedIndicator::indicatorSize(indicator, QFontInfo(w->font()).pixelSize());
        s.marks.push_back(QRect(0, (w->height() - size) / 2, size, size));
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        s.room = label->contentsRect();
        s.text = captionLines(WrappedCaption(label->text(), w->font(), s.room.size()), s.room,
                              label->alignment());
    } else if (auto* button = qobject_cast<QPushButton*>(w)) {
        QStyleOptionButton option;
        option.initFrom(button);
        s.room = w->style()->subElementRect(QStyle::SE_PushButtonContents, &option, w);
        if (!button->text().isEmpty())
            s.text.push_back(centredLine(w->font(), s.room, button->text()));
        s.opaque = true;
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        // The line a text field types into: its contents less the field's own
        // margins of 2 pixels across and 1 down.
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth =
            edit->hasFrame() ? w->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) : 0;
        s.room = w->style()
                     ->subElementRect(QStyle::SE_LineEditContents, &option, w)
                     .marginsRemoved(edit->textMargins())
                     .adjusted(2, 1, -2, -1);
        s.text.push_back(centredLine(w->font(), s.room, QString()));
        s.opaque = true;
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        s.room = w->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                            QStyle::SC_ComboBoxEditField, w);
        // An editable box's text is its line edit's, walked on its own.
        if (!combo->isEditable()) s.text.push_back(centredLine(w->font(), s.room, QString()));
        s.opaque = true;
    } else if (auto* frame = qobject_cast<QFrame*>(w)) {
        s.opaque = frame->autoFillBackground();
    }
    return s;
}

QList<QRect> mapped(const QList<QRect>& rects, const QWidget* from, const QWidget* to) {
    QList<QRect> result;
    for (const QRect& r : rects)
        result.push_back(r.translated(from->mapTo(to, QPoint(0, 0))));
    return result;
}

// Whether `upper` is painted after `lower`: at their closest common ancestor, the
// child that holds `upper` comes later.
bool isAbove(const QWidget* upper, const QWidget* lower) {
    for (const QWidget* a = upper; a; a = a->parentWidget()) {
        for (const QWidget* b = lower; b; b = b->parentWidget()) {
            if (a->parentWidget() != b->parentWidget() || a == b) continue;
            const QObjectList& siblings = a->parentWidget()->children();
            return siblings.indexOf(a) > siblings.indexOf(b);
        }
    }
    return false;
}

bool related(const QWidget* a, const QWidget* b) {
    return a == b || a->isAncestorOf(b) || b->isAncestorOf(a);
}

std::string describe(const QRect& r) {
    return QString("(%1,%2 %3x%4)")
        .arg(r.x())
        .arg(r.y())
        .arg(r.width())
        .arg(r.height())
        .toStdString();
}

// Checks every visible widget inside `surface` against its room and its neighbours.
void expectReadable(QWidget* surface, const std::string& where) {
    std::vector<Shown> all;
    for (QWidget* w : surface->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(surface)) continue;
        Shown s = shownBy(w);
        s.room.translate(w->mapTo(surface, QPoint(0, 0)));
        s.text = mapped(s.text, w, surface);
        s.marks = mapped(s.marks, w, surface);
        all.push_back(std::move(s));
    }
    ASSERT_FALSE(all.empty()) << where;
    for (const Shown& a : all) {
        const std::string who = where + ": " + a.name.toStdString();
        for (const QRect& line : a.text)
            EXPECT_TRUE(a.room.contains(line))
                << who << " line " << describe(line) << " outside " << describe(a.room);
        for (const Shown& b : all) {
            if (related(a.widget, b.widget)) continue;
            const QRect bRect(b.widget->mapTo(surface, QPoint(0, 0)), b.widget->size());
            for (const QRect& line : a.text) {
                for (const QRect& other : b.text)
                    EXPECT_FALSE(line.intersects(other))
                        << who << " line " << describe(line) << " overlaps the caption of "
                        << b.name.toStdString() << " " << describe(other);
                if (!isAbove(b.widget, a.widget)) continue;
                if (b.opaque) {
                    EXPECT_FALSE(line.intersects(bRect))
                        << who << " line " << describe(line) << " is covered by "
                        << b.name.toStdString() << " " << describe(bRect);
                }
                for (const QRect& mark : b.marks)
                    EXPECT_FALSE(line.intersects(mark))
                        << who << " line " << describe(line) << " is covered by the mark of "
                        << b.name.toStdString() << " " << describe(mark);
            }
        }
    }
}

// The example order file's first orders, as a user starts with them.
constexpr const char* kOrders = "攻撃開始！,FF8080\r撤退,8080FF\r集合＠本陣,80FF80\r"
                                "回復求む,FFFF80\r敵発見\\北\r了解\rお疲れ様でした\r待機,C0C0C0\r";

class ReadableCaptionsTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ASSERT_TRUE(QFontDatabase::families().contains("Ume UI Gothic"))
            << "the forms' font is missing: scripts/install-deps.sh installs fonts-horai-umefont";
        platform.files.files["tavren.txt"] = kOrders;
        view.addForm(window.form().IRC_Quorvel);
        view.addForm(window.nickForm().frm_nick);
        window.open();
        window.form().chk_rename.setValue(1); // shows the nick window
    }

    fakes::FakePlatform platform;
    app::MainWindow window{platform.services()};
    QtView view{TwipsScale::forDpi(GetParam(), GetParam())};
};

} // namespace

TEST_P(ReadableCaptionsTest, OnTheSettingsPanel) {
    expectReadable(view.widgetFor(window.form().Frame[0]), "settings panel");
}

TEST_P(ReadableCaptionsTest, OnTheOrderBoard) {
    window.mn_button_Click(2);
    expectReadable(view.widgetFor(window.form().Frame[2]), "order board");
}

TEST_P(ReadableCaptionsTest, OnTheNickWindow) {
    QWidget* nick = view.clientAreaOf(window.nickForm().frm_nick);
    ASSERT_TRUE(nick && nick->isVisibleTo(nick->window()));
    ASSERT_TRUE(view.widgetFor(window.nickForm().frm_nick)->isVisible());
    expectReadable(nick, "nick window");
}

INSTANTIATE_TEST_SUITE_P(Dpi, ReadableCaptionsTest, ::testing::Values(96, 144, 192),
                         [](const auto& info) { return std::to_string(info.param) + "Dpi"; });
