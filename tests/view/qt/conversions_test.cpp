#include "platform/view/qt/classic_key_codes.h"
#include "platform/view/qt/form_frame.h"
#include "platform/view/qt/palette_colours.h"
#include "platform/view/qt/twips_scale.h"

#include <gtest/gtest.h>

using namespace tavren;
using namespace tavren::view::qt;

TEST(TwipsScaleTest, ControlRectanglesBecomeQRects) {
    const TwipsScale at96 = TwipsScale::forDpi(96, 96); // 15 twips per pixel
    EXPECT_EQ(toQRect(at96, {120, 360, 2415, 375}), QRect(8, 24, 161, 25));
    // 100 twips = 6.67 px: two neighbours of 100 twips touch at 13 px.
    const QRect first = toQRect(at96, {0, 0, 100, 100});
    const QRect second = toQRect(at96, {100, 0, 100, 100});
    EXPECT_EQ(first.right() + 1, second.left());
    const TwipsScale at144x120 = TwipsScale::forDpi(144, 120); // 10 by 12
    EXPECT_EQ(toQRect(at144x120, {100, 120, 1000, 1200}), QRect(10, 10, 100, 100));
    EXPECT_EQ(toQRect(at96, {300, 300, 0, 0}), QRect(20, 20, 0, 0));
}

TEST(FormFrameTest, TheClientAreaAndTheFramesPlaceInQtTerms) {
    const TwipsScale scale = TwipsScale::forDpi(96, 96);
    const controls::Rect outer{1500, 3000, 6000, 5000};
    EXPECT_EQ(clientPixels(outer, scale), QSize(393, 295));
    EXPECT_EQ(framePixels(outer, scale), QPoint(100, 200));
}

TEST(PaletteColoursTest, SystemColoursFollowTheThemeOthersAreExact) {
    QPalette theme;
    theme.setColor(QPalette::Button, QColor(1, 2, 3));
    theme.setColor(QPalette::Base, QColor(4, 5, 6));
    theme.setColor(QPalette::Text, QColor(7, 8, 9));
    EXPECT_EQ(toQColor(controls::kButtonFace, theme), QColor(1, 2, 3));
    EXPECT_EQ(toQColor(controls::kWindowBackground, theme), QColor(4, 5, 6));
    EXPECT_EQ(toQColor(controls::kWindowText, theme), QColor(7, 8, 9));
    EXPECT_EQ(toQColor(controls::kRed, theme), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(controls::rgb(0x12, 0x34, 0x56), theme), QColor(0x12, 0x34, 0x56));

    const QPalette button = paletteWith(theme, QPalette::Button, controls::rgb(0, 128, 0));
    EXPECT_EQ(button.color(QPalette::Button), QColor(0, 128, 0));
    EXPECT_EQ(button.color(QPalette::Window), QColor(0, 128, 0)); // the auto-filled part
    EXPECT_EQ(button.color(QPalette::Base), QColor(4, 5, 6));     // the rest untouched
}

TEST(ClassicKeyCodesTest, MapsKeysToClassicKeyCodes) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    };
    const Case cases[] = {
        {Qt::Key_Return, Qt::NoModifier, 13},   {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Escape, Qt::NoModifier, 27},   {Qt::Key_Backspace, Qt::NoModifier, 8},
        {Qt::Key_A, Qt::NoModifier, 65},        {Qt::Key_Z, Qt::ShiftModifier, 90},
        {Qt::Key_5, Qt::NoModifier, 53},        {Qt::Key_5, Qt::KeypadModifier, 101},
        {Qt::Key_0, Qt::KeypadModifier, 96},    {Qt::Key_Plus, Qt::KeypadModifier, 107},
        {Qt::Key_Plus, Qt::ShiftModifier, 187}, {Qt::Key_Exclam, Qt::ShiftModifier, 49},
        {Qt::Key_F1, Qt::NoModifier, 112},      {Qt::Key_F12, Qt::NoModifier, 123},
        {Qt::Key_Left, Qt::NoModifier, 37},     {Qt::Key_Delete, Qt::NoModifier, 46},
        {Qt::Key_Shift, Qt::ShiftModifier, 16}, {Qt::Key_Kanji, Qt::NoModifier, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(classicKeyCode(c.key, c.modifiers), c.code) << std::hex << c.key;

    EXPECT_EQ(classicShiftState(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(classicShiftState(Qt::ControlModifier | Qt::KeypadModifier), 2);
    EXPECT_EQ(classicMouseButton(Qt::RightButton), 2);
    EXPECT_EQ(classicMouseButton(Qt::MiddleButton), 4);
    EXPECT_EQ(classicMouseButton(Qt::BackButton), 0);
}
