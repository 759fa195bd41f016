// Captions drawn at the designed sizes: wrapped within the control's height, a
// compact indicator beside them, and the controls' events unchanged by it.
#include "platform/view/qt/control_widgets.h"
#include "platform/view/qt/form_font.h"
#include "platform/view/qt/qt_view.h"
#include "platform/view/qt/wrapped_caption.h"

#include "platform/controls/controls.h"
#include "text/caption_lines.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QRadioButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavren;
using namespace tavren::view::qt;

namespace {

QFont fontOfPixels(int pixels) {
    QFont font = FormFont::ofSystem(TwipsScale{});
    font.setPixelSize(pixels);
    return font;
}

int advance(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text);
}

// --- Laying out a caption -------------------------------------------------------

struct LayoutCase {
    const char* what;
    QString text;
    // The box, in multiples of the width of `unit` at 12 px and of the em.
    QString unit;
    double widthInUnits;
    double heightInEms;
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.what;
}

class WrappedCaptionTest : public ::testing::TestWithParam<LayoutCase> {};

// Whatever the font: every character is kept, in order; a caption that fits keeps
// every line within the box; and it is never smaller than it has to be.
TEST_P(WrappedCaptionTest, KeepsEveryCharacterAndShrinksOnlyAsFarAsNeeded) {
    const LayoutCase& c = GetParam();
    const QFont font = fontOfPixels(12);
    const QSize box(static_cast<int>(advance(font, c.unit) * c.widthInUnits),
                    static_cast<int>(12 * c.heightInEms));
    const WrappedCaption caption(c.text, font, box);

    QString text = c.text;
    text.remove(QLatin1Char(' ')).remove(QLatin1Char('\n'));
    EXPECT_EQ(caption.lines().join(QString()).remove(QLatin1Char(' ')), text) << c.what;
    const int size = caption.font().pixelSize();
    EXPECT_LE(size, 12) << c.what;
    if (caption.fits()) {
        EXPECT_LE(caption.height(), box.height()) << c.what;
        for (const QString& line : caption.lines())
            EXPECT_LE(advance(caption.font(), line), box.width())
                << c.what << ": " << line.toStdString();
    } else {
        EXPECT_EQ(size, text::smallestCaptionPixelSize(12)) << c.what;
    }
    if (caption.fits() && size < 12) { // one size larger does not fit: it too ends up here
        EXPECT_EQ(WrappedCaption(c.text, fontOfPixels(size + 1), box).font().pixelSize(), size)
            << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Captions, WrappedCaptionTest,
    ::testing::Values(
        LayoutCase{"one line", "送信先", "送信先", 1, 1},
        LayoutCase{"two lines", "ボタン間隔", "ボタン", 1, 2.1},
        LayoutCase{"shrunk to two lines", "ボタン間隔", "ボタン", 1, 1.9},
        LayoutCase{"shrunk to one line", "送信テスト", "送信テス", 1.1, 1.4},
        LayoutCase{"mixed scripts", "ボタンを押した後、選択したwindowをアクティブにする",
                   "ボタンを押した後", 1.5, 2.1},
        LayoutCase{"words", "press the button twice", "press", 2.5, 2.1},
        LayoutCase{"a word wider than the box", "windowwindowwindow", "window", 1, 3.1},
        LayoutCase{"never fits", "指揮官モード（文字色：赤）", "指", 1, 0.5}));

TEST(WrappedCaptionLinesTest, BreaksWhereTheWidthEndsAndAtLineBreaks) {
    const QFont font = fontOfPixels(12);
    const QSize twoLines(advance(font, "ボタン"), 25);
    const WrappedCaption wrapped("ボタン間隔", font, twoLines);
    EXPECT_EQ(wrapped.lines(), (QStringList{"ボタン", "間隔"}));
    EXPECT_EQ(wrapped.font().pixelSize(), 12);
    EXPECT_EQ(wrapped.height(), 2 * QFontMetrics(font).height());
    EXPECT_TRUE(wrapped.fits());

    const WrappedCaption broken("縦\n横", font, QSize(100, 25));
    EXPECT_EQ(broken.lines(), (QStringList{"縦", "横"}));

    const WrappedCaption empty("", font, QSize(100, 25));
    EXPECT_TRUE(empty.lines().isEmpty() || empty.lines() == QStringList{QString()});
    EXPECT_TRUE(empty.fits());
}

TEST(FormFontTest, TakesAPreferredJapaneseFamilyAtNinePointsElseTheDefault) {
    QFont fallback("DejaVu Sans");
    fallback.setPointSize(11);
    const QString preferred = FormFont::preferredFamilies().front();

    const QFont chosen = FormFont::choose({"DejaVu Sans", preferred.toLower()}, fallback,
                                          TwipsScale::forDpi(96, 96));
    EXPECT_EQ(chosen.family(), preferred);
    EXPECT_EQ(chosen.pixelSize(), 12);

    const QFont fallen = FormFont::choose({"DejaVu Sans"}, fallback, TwipsScale::forDpi(144, 144));
    EXPECT_EQ(fallen.family(), QString("DejaVu Sans"));
    EXPECT_EQ(fallen.pixelSize(), 18);
}

// --- The widgets at the main window's designed sizes (96 DPI: 15 twips a pixel) ---

struct DesignedForm {
    controls::Form form{"IRC_Quorvel", "Tavren"};
    controls::Frame settings{"Frame", &form, 0};
    controls::CheckBox longBox{"chk_uo", &settings,
                               "ボタンを押した後、選択したwindowをアクティブにする"};
    controls::CheckBox shortBox{"chk_AllwaysonTop", &settings, "常に手前に表示"};
    controls::Label gapLabel{"Label7", &settings, "ボタン間隔"};
    controls::Label testLabel{"Label1", &settings, "送信テスト"};
    controls::Frame rows{"Frame2", &settings};
    controls::OptionButton row2{"OpT", &rows, "2", 2};
    controls::OptionButton row3{"OpT", &rows, "3", 3};

    DesignedForm() {
        form.setGeometry({0, 0, 5395, 3235});
        settings.setGeometry({0, 0, 5295, 2655});
        longBox.setGeometry({120, 360, 2415, 375});
        shortBox.setGeometry({120, 1080, 1575, 255});
        gapLabel.setGeometry({3600, 1800, 495, 375});
        testLabel.setGeometry({120, 1800, 855, 255});
        rows.setGeometry({3360, 0, 495, 1695});
        row2.setGeometry({120, 120, 495, 180});
        row3.setGeometry({120, 320, 495, 180});
    }
};

// What a widget shows, as its container paints it (with the background behind it).
QImage shownImage(QWidget* widget) {
    return widget->parentWidget()->grab(widget->geometry()).toImage();
}

// Pixels of ink (text or indicator marks) within `area` of an image.
int inkIn(const QImage& image, const QRect& area) {
    int ink = 0;
    const QRect within = area.intersected(image.rect());
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (qGray(image.pixel(x, y)) < 170) ++ink;
    return ink;
}

class CaptionWidgetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.addForm(f.form);
        f.form.setVisible(true);
    }
    template <class W> W* widget(const controls::Control& c) {
        return qobject_cast<W*>(view.widgetFor(c));
    }

    DesignedForm f;
    QtView view{TwipsScale::forDpi(96, 96)};
    std::vector<std::string> log;
};

TEST_F(CaptionWidgetsTest, TheWindowsUseTheFormFont) {
    const QFont expected = FormFont::ofSystem(view.scale());
    EXPECT_EQ(view.widgetFor(f.form)->font().family(), expected.family());
    EXPECT_EQ(view.widgetFor(f.form)->font().pixelSize(), 12);
    EXPECT_EQ(view.widgetFor(f.longBox)->font().family(), expected.family());
    EXPECT_EQ(view.widgetFor(f.longBox)->font().pixelSize(), 12);
}

TEST_F(CaptionWidgetsTest, ALongCheckBoxCaptionShowsOnTwoLinesWithinItsHeight) {
    auto* box = widget<QCheckBox>(f.longBox);
    ASSERT_EQ(box->size(), QSize(161, 25));
    const QRect area = CaptionedIndicator::captionArea(QStyle::PE_IndicatorCheckBox, *box);
    const WrappedCaption caption(box->text(), box->font(), area.size());
    EXPECT_EQ(caption.lines().size(), 2);
    EXPECT_TRUE(caption.fits());

    // One centred line would leave the top and bottom rows empty.
    const QImage shown = shownImage(box);
    EXPECT_GT(inkIn(shown, QRect(area.left(), 0, area.width(), 6)), 20);
    EXPECT_GT(inkIn(shown, QRect(area.left(), box->height() - 6, area.width(), 6)), 20);
}

TEST_F(CaptionWidgetsTest, AClickAnywhereOnAWrappedCheckBoxTogglesItOnce) {
    f.longBox.clicked.connect([&] { log.push_back("click " + std::to_string(f.longBox.value())); });
    auto* box = widget<QCheckBox>(f.longBox);
    const QPoint secondLine(box->width() / 2, box->height() - 2);
    const QPoint farRight(box->width() - 2, 1);

    QTest::mouseClick(box, Qt::LeftButton, {}, secondLine);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    QTest::mouseClick(box, Qt::LeftButton, {}, farRight);
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    f.longBox.setValue(2);
    QTest::mouseClick(box, Qt::LeftButton, {}, secondLine);
    EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click 0", "click 2", "click 0"}));

    f.longBox.setEnabled(false);
    QTest::mouseClick(box, Qt::LeftButton, {}, secondLine);
    EXPECT_EQ(log.size(), 4u); // a disabled box takes no clicks
}

TEST_F(CaptionWidgetsTest, EachValueAndTheDisabledStateLookDifferent) {
    auto* box = widget<QCheckBox>(f.shortBox);
    std::vector<QImage> looks;
    for (int value : {0, 1, 2}) {
        f.shortBox.setValue(value);
        looks.push_back(shownImage(box));
    }
    EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
    f.shortBox.setValue(1);
    f.shortBox.setEnabled(false);
    looks.push_back(shownImage(box));
    for (std::size_t i = 0; i < looks.size(); ++i)
        for (std::size_t j = i + 1; j < looks.size(); ++j)
            EXPECT_NE(looks[i], looks[j]) << i << " and " << j;
    // The caption is there in every state.
    const QRect area = CaptionedIndicator::captionArea(QStyle::PE_IndicatorCheckBox, *box);
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_GT(inkIn(looks[i], area), 20) << i;
}

TEST_F(CaptionWidgetsTest, AnOptionsDigitShowsInTheVisiblePartOfItsFrame) {
    auto* row2 = widget<QRadioButton>(f.row2);
    ASSERT_EQ(row2->geometry(), QRect(8, 8, 33, 12));
    // The frame is 33 pixels wide: 25 of the option's pixels are in sight.
    const int visible = row2->parentWidget()->width() - row2->x();
    const QRect area = CaptionedIndicator::captionArea(QStyle::PE_IndicatorRadioButton, *row2);
    const WrappedCaption caption(row2->text(), row2->font(), area.size());
    EXPECT_EQ(caption.lines(), QStringList{"2"});
    EXPECT_LE(caption.boundingRect(area, Qt::AlignLeft | Qt::AlignVCenter).right(), visible);
    const QImage shown = shownImage(row2);
    EXPECT_GT(inkIn(shown, QRect(area.left(), 0, visible - area.left(), 12)), 5);
    EXPECT_EQ(inkIn(shown, QRect(visible, 0, row2->width() - visible, 12)), 0);

    f.row3.clicked.connect([&] { log.push_back("row3"); });
    auto* row3 = widget<QRadioButton>(f.row3);
    QTest::mouseClick(row3, Qt::LeftButton, {}, QPoint(row3->width() - 2, 6)); // past the digit
    EXPECT_TRUE(f.row3.value());
    EXPECT_FALSE(f.row2.value());
    EXPECT_TRUE(row3->isChecked());
    EXPECT_FALSE(row2->isChecked());
    EXPECT_EQ(log, std::vector<std::string>{"row3"});
}

TEST_F(CaptionWidgetsTest, ALabelWrapsWithinItsHeight) {
    auto* label = widget<QLabel>(f.gapLabel);
    ASSERT_EQ(label->size(), QSize(33, 25));
    EXPECT_EQ(label->text(), QString("ボタン間隔"));
    const QImage shown = shownImage(label);
    EXPECT_GT(inkIn(shown, QRect(0, 0, 33, 12)), 10);
    EXPECT_GT(inkIn(shown, QRect(0, 12, 33, 13)), 10);
}

TEST_F(CaptionWidgetsTest, ALabelKeepsItsLastCharacterInSight) {
    auto* label = widget<QLabel>(f.testLabel);
    ASSERT_EQ(label->size(), QSize(57, 17));
    const WrappedCaption caption(label->text(), label->font(), label->contentsRect().size());
    ASSERT_EQ(caption.lines(), QStringList{"送信テスト"});
    const int upToLast = advance(caption.font(), "送信テス");
    const int whole = advance(caption.font(), "送信テスト");
    EXPECT_GT(inkIn(shownImage(label), QRect(upToLast + 1, 0, whole - upToLast - 1, 17)), 3);
}

} // namespace
