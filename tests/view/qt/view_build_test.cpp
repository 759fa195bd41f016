// Building widgets from controls and keeping them in step when code changes the
// controls.
#include "sample_form.h"

#include "platform/view/qt/qt_view.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

using namespace tavren;
using namespace tavren::view::qt;

namespace {

class ViewBuildTest : public ::testing::Test {
protected:
    // 120 DPI, not the offscreen screen's 96: 12 twips per pixel.
    fixtures::SampleForm f;
    QtView view{TwipsScale::forDpi(120, 120)};

    template <class W> W* widget(const controls::Control& c) {
        return qobject_cast<W*>(view.widgetFor(c));
    }
};

TEST_F(ViewBuildTest, BuildsAWindowOnlyOnceTheFormIsLoaded) {
    view.addForm(f.form);
    EXPECT_EQ(view.widgetFor(f.form), nullptr);
    EXPECT_EQ(view.widgetFor(f.check), nullptr);

    bool widgetsDuringLoad = false;
    f.form.loaded.connect([&] { widgetsDuringLoad = view.widgetFor(f.check) != nullptr; });
    f.form.load();
    EXPECT_TRUE(widgetsDuringLoad);
    ASSERT_NE(widget<QMainWindow>(f.form), nullptr);
    EXPECT_FALSE(view.widgetFor(f.form)->isVisible()); // loaded, not shown
    EXPECT_EQ(view.widgetFor(f.form)->windowTitle(), QString("設定テスト"));
}

TEST_F(ViewBuildTest, OneWidgetPerControlAtItsPixelGeometry) {
    view.addForm(f.form);
    f.form.setVisible(true);

    ASSERT_NE(widget<QFrame>(f.settings), nullptr);
    ASSERT_NE(widget<QLabel>(f.label), nullptr);
    ASSERT_NE(widget<QComboBox>(f.combo), nullptr);
    ASSERT_NE(widget<QCheckBox>(f.check), nullptr);
    ASSERT_NE(widget<QPushButton>(f.refresh), nullptr);
    ASSERT_NE(widget<QLineEdit>(f.send), nullptr);
    ASSERT_NE(widget<QRadioButton>(f.row3), nullptr);
    ASSERT_NE(view.actionFor(f.settingsItem), nullptr);
    ASSERT_NE(view.timerFor(f.timer), nullptr);

    EXPECT_EQ(view.widgetFor(f.settings)->geometry(), QRect(0, 0, 400, 250));
    EXPECT_EQ(view.widgetFor(f.board)->geometry(), QRect(0, -10, 400, 250));
    EXPECT_EQ(view.widgetFor(f.refresh)->geometry(), QRect(210, 30, 60, 25));
    EXPECT_EQ(view.widgetFor(f.row3)->geometry(), QRect(0, 30, 100, 25));
    // Children sit in their own container, not in the window.
    EXPECT_EQ(view.widgetFor(f.row3)->parentWidget(), view.widgetFor(f.rows));
    EXPECT_EQ(view.widgetFor(f.order)->parentWidget(), view.widgetFor(f.board));

    // The client area below the menu bar is the outer size less the fixed frame,
    // and the window's frame stands where the form's left and top say.
    EXPECT_EQ(view.clientAreaOf(f.form)->size(), QSize(400, 250));
    EXPECT_EQ(view.widgetFor(f.form)->pos(), QPoint(100, 200));

    EXPECT_EQ(widget<QLabel>(f.label)->text(), QString("送信先"));
    EXPECT_EQ(widget<QCheckBox>(f.check)->text(), QString("ボタンを押した後"));
    EXPECT_TRUE(widget<QCheckBox>(f.check)->isTristate());
    EXPECT_TRUE(widget<QComboBox>(f.combo)->isEditable());
    EXPECT_EQ(view.actionFor(f.settingsItem)->text(), QString("設定"));
}

TEST_F(ViewBuildTest, ControlChangesReachTheWidgetsAndRaiseEachEventOnce) {
    view.addForm(f.form);
    f.form.setVisible(true);
    int checkClicks = 0, comboPicks = 0, comboEdits = 0, sendEdits = 0, optionClicks = 0;
    f.check.clicked.connect([&] { ++checkClicks; });
    f.combo.picked.connect([&] { ++comboPicks; });
    f.combo.textChanged.connect([&] { ++comboEdits; });
    f.send.textChanged.connect([&] { ++sendEdits; });
    f.row3.clicked.connect([&] { ++optionClicks; });

    f.check.setValue(2);
    EXPECT_EQ(widget<QCheckBox>(f.check)->checkState(), Qt::PartiallyChecked);
    f.check.setValue(1);
    EXPECT_EQ(widget<QCheckBox>(f.check)->checkState(), Qt::Checked);
    EXPECT_EQ(checkClicks, 2);

    f.combo.addItem("xterm");
    f.combo.addItem("チャット");
    f.combo.setListIndex(1);
    auto* combo = widget<QComboBox>(f.combo);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentIndex(), 1);
    EXPECT_EQ(combo->currentText(), QString("チャット"));
    EXPECT_EQ(comboPicks, 1);
    EXPECT_EQ(comboEdits, 1);
    f.combo.setText("3");
    EXPECT_EQ(combo->currentText(), QString("3"));
    EXPECT_EQ(comboEdits, 2);
    f.combo.clear();
    EXPECT_EQ(combo->count(), 0);
    EXPECT_EQ(combo->currentText(), QString());

    f.send.setText("こんにちは");
    EXPECT_EQ(widget<QLineEdit>(f.send)->text(), QString("こんにちは"));
    EXPECT_EQ(sendEdits, 1);

    f.row2.select();
    f.row3.select();
    EXPECT_FALSE(widget<QRadioButton>(f.row2)->isChecked());
    EXPECT_TRUE(widget<QRadioButton>(f.row3)->isChecked());
    EXPECT_EQ(optionClicks, 1);

    f.refresh.setCaption("更新");
    f.refresh.setEnabled(false);
    f.label.setVisible(false);
    f.form.setCaption("Tavren");
    EXPECT_EQ(widget<QPushButton>(f.refresh)->text(), QString("更新"));
    EXPECT_FALSE(view.widgetFor(f.refresh)->isEnabled());
    EXPECT_TRUE(view.widgetFor(f.label)->isHidden());
    EXPECT_EQ(view.widgetFor(f.form)->windowTitle(), QString("Tavren"));

    f.order.setGeometry({240, 480, 600, 360});
    EXPECT_EQ(view.widgetFor(f.order)->geometry(), QRect(20, 40, 50, 30));
}

TEST_F(ViewBuildTest, ColoursGoThroughThePalette) {
    view.addForm(f.form);
    f.form.setVisible(true);
    auto* button = widget<QPushButton>(f.order);
    const QColor themeFace = QApplication::palette(button).color(QPalette::Button);

    f.order.setBackColour(controls::rgb(0, 128, 255));
    EXPECT_EQ(button->palette().color(QPalette::Button), QColor(0, 128, 255));
    EXPECT_TRUE(button->autoFillBackground());
    EXPECT_TRUE(button->styleSheet().isEmpty());
    f.order.setBackColour(controls::kButtonFace);
    EXPECT_EQ(button->palette().color(QPalette::Button), themeFace);
    EXPECT_FALSE(button->autoFillBackground());

    f.label.setForeColour(controls::kRed);
    EXPECT_EQ(widget<QLabel>(f.label)->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    auto* combo = widget<QComboBox>(f.combo);
    EXPECT_EQ(combo->palette().color(QPalette::Base),
              QApplication::palette(combo).color(QPalette::Base)); // window background
    f.combo.setBackColour(controls::rgb(255, 255, 0));
    EXPECT_EQ(combo->palette().color(QPalette::Base), QColor(255, 255, 0));
}

TEST_F(ViewBuildTest, WidgetsStackAsTheControlsAreOrdered) {
    view.addForm(f.form);
    f.form.setVisible(true);
    QWidget* client = view.clientAreaOf(f.form);
    auto frontPanelAt = [&](QPoint p) {
        QWidget* hit = client->childAt(p);
        if (view.widgetFor(f.board)->isAncestorOf(hit) || hit == view.widgetFor(f.board))
            return &f.board;
        if (view.widgetFor(f.settings)->isAncestorOf(hit) || hit == view.widgetFor(f.settings))
            return &f.settings;
        return static_cast<controls::Frame*>(nullptr);
    };
    const QPoint middle(200, 200);
    EXPECT_EQ(frontPanelAt(middle), &f.board); // the later child is in front
    f.settings.bringToFront();
    EXPECT_EQ(frontPanelAt(middle), &f.settings);
    f.board.bringToFront();
    EXPECT_EQ(frontPanelAt(middle), &f.board);
}

TEST_F(ViewBuildTest, MenuItemsShowTheirStateAndClick) {
    view.addForm(f.form);
    f.form.load();
    int clicks = 0;
    f.settingsItem.clicked.connect([&] { ++clicks; });
    QAction* settings = view.actionFor(f.settingsItem);
    QAction* option = view.actionFor(f.optionItem);

    f.optionItem.setVisible(false);
    f.settingsItem.setEnabled(false);
    EXPECT_FALSE(option->isVisible());
    EXPECT_FALSE(settings->isEnabled());
    settings->trigger(); // a disabled entry cannot be chosen
    EXPECT_EQ(clicks, 0);

    f.settingsItem.setEnabled(true);
    f.settingsItem.setCaption("指揮");
    EXPECT_TRUE(settings->isEnabled());
    EXPECT_EQ(settings->text(), QString("指揮"));
    settings->trigger();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ViewBuildTest, TimersRunWhileTheyHaveAnIntervalAndTick) {
    view.addForm(f.form);
    f.form.load();
    QTimer* timer = view.timerFor(f.timer);
    EXPECT_FALSE(timer->isActive());
    f.timer.setInterval(100);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 100);
    f.timer.setEnabled(false);
    EXPECT_FALSE(timer->isActive());
    f.timer.setEnabled(true);
    f.timer.setInterval(0);
    EXPECT_FALSE(timer->isActive());

    int ticks = 0;
    f.timer.ticked.connect([&] { ++ticks; });
    f.timer.setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }));
}

TEST_F(ViewBuildTest, NativeWindowIdIsThereBeforeTheFormIsShown) {
    controls::Form other("frm_nick", "nick");
    view.addForm(f.form);
    const services::WindowHandle id = view.nativeWindowId(f.form);
    EXPECT_NE(id, 0);
    EXPECT_EQ(view.nativeWindowId(f.form), id);
    EXPECT_EQ(static_cast<services::WindowHandle>(view.widgetFor(f.form)->winId()), id);
    EXPECT_EQ(view.nativeWindowId(other), 0); // not given to the view
}

TEST(ViewLifetimeTest, ControlsOutlivingTheViewCanStillChange) {
    fixtures::SampleForm f;
    {
        QtView view(TwipsScale::forDpi(96, 96));
        view.addForm(f.form);
        f.form.setVisible(true);
    }
    f.check.setValue(1);
    f.form.setGeometry({0, 0, 3000, 3000});
    f.combo.addItem("x");
    f.settings.bringToFront();
    f.timer.setInterval(5);
    EXPECT_EQ(f.check.value(), 1);
}

} // namespace
