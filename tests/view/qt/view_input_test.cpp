// User input on the widgets, turned into the controls' events.
#include "sample_form.h"

#include "platform/view/qt/qt_view.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavren;
using namespace tavren::view::qt;

namespace {

class ViewInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.addForm(f.form);
        f.form.setVisible(true);
    }
    template <class W> W* widget(const controls::Control& c) {
        return qobject_cast<W*>(view.widgetFor(c));
    }
    // Check boxes and option buttons react to clicks on their indicator and text.
    static QPoint onIndicator(const QWidget* w) { return QPoint(4, w->height() / 2); }
    // What an assistive tool (a screen reader, a voice control) acts through.
    static QAccessibleActionInterface* accessibleActions(QWidget* w) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(w);
        return accessible ? accessible->actionInterface() : nullptr;
    }

    fixtures::SampleForm f;
    QtView view{TwipsScale::forDpi(120, 120)};
    std::vector<std::string> log;
};

TEST_F(ViewInputTest, ClickingACheckBoxTogglesItThroughItsControlOnce) {
    f.check.clicked.connect([&] { log.push_back("click " + std::to_string(f.check.value())); });
    auto* box = widget<QCheckBox>(f.check);

    QTest::mouseClick(box, Qt::LeftButton, {}, onIndicator(box));
    EXPECT_EQ(f.check.value(), 1);
    EXPECT_EQ(box->checkState(), Qt::Checked);

    f.check.setValue(2); // indeterminate: a click unchecks it (Qt would check it)
    QTest::mouseClick(box, Qt::LeftButton, {}, onIndicator(box));
    EXPECT_EQ(f.check.value(), 0);
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click 2", "click 0"}));
}

TEST_F(ViewInputTest, EveryMouseButtonPressesAButtonOnlyTheLeftOneClicks) {
    f.order.mouseDown.connect([&](const controls::MouseEvent& e) {
        log.push_back("down " + std::to_string(e.button) + " " + std::to_string(e.shift) + " " +
                      std::to_string(int(e.x)) + "," + std::to_string(int(e.y)));
    });
    f.order.mouseUp.connect(
        [&](const controls::MouseEvent& e) { log.push_back("up " + std::to_string(e.button)); });
    f.order.clicked.connect([&] { log.push_back("click"); });
    int panelPresses = 0;
    struct PressCounter : QObject {
        int& count;
        explicit PressCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::MouseButtonPress) ++count;
            return false;
        }
    } counter(panelPresses);
    view.widgetFor(f.board)->installEventFilter(&counter);
    auto* button = widget<QPushButton>(f.order);

    QTest::mousePress(button, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 5));
    QTest::mouseRelease(button, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 5));
    QTest::mouseClick(button, Qt::MiddleButton, {}, QPoint(1, 2));
    QTest::mouseClick(button, Qt::LeftButton, Qt::ControlModifier, QPoint(2, 1));

    EXPECT_EQ(log, (std::vector<std::string>{"down 2 1 120,60", "up 2", "down 4 0 12,24", "up 4",
                                             "down 1 2 24,12", "up 1", "click"}));
    EXPECT_EQ(panelPresses, 0); // the panel behind never sees the presses
}

TEST_F(ViewInputTest, OptionButtonsOfAContainerExcludeEachOther) {
    f.row3.clicked.connect([&] { log.push_back("row3"); });
    f.row2.select();
    auto* row2 = widget<QRadioButton>(f.row2);
    auto* row3 = widget<QRadioButton>(f.row3);

    QTest::mouseClick(row3, Qt::LeftButton, {}, onIndicator(row3));
    EXPECT_TRUE(f.row3.value());
    EXPECT_FALSE(f.row2.value());
    EXPECT_TRUE(row3->isChecked());
    EXPECT_FALSE(row2->isChecked());

    // Clicking the selected option leaves it selected and is a click all the
    // same: it is how the user re-applies the option shown.
    QTest::mouseClick(row3, Qt::LeftButton, {}, onIndicator(row3));
    EXPECT_TRUE(row3->isChecked());
    EXPECT_TRUE(f.row3.value());
    EXPECT_EQ(log, (std::vector<std::string>{"row3", "row3"}));
}

TEST_F(ViewInputTest, AnAssistiveToolsToggleOfACheckBoxReachesItsControl) {
    f.check.clicked.connect([&] { log.push_back("click " + std::to_string(f.check.value())); });
    auto* box = widget<QCheckBox>(f.check);
    QAccessibleActionInterface* actions = accessibleActions(box);
    ASSERT_NE(actions, nullptr);
    ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::toggleAction()));

    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(box->checkState(), Qt::Checked);
    EXPECT_EQ(f.check.value(), 1);
    actions->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
    EXPECT_EQ(f.check.value(), 0);

    // Whoever sets the widget's state, the control follows it.
    box->setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(f.check.value(), 2);
    box->setChecked(false);
    EXPECT_EQ(f.check.value(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"click 1", "click 0", "click 2", "click 0"}));
}

TEST_F(ViewInputTest, TheSpaceBarOnACheckBoxOrAnOptionIsOneClick) {
    f.check.clicked.connect([&] { log.push_back("check " + std::to_string(f.check.value())); });
    f.row2.clicked.connect([&] { log.push_back("row2"); });
    f.row2.select();
    log.clear();
    auto* box = widget<QCheckBox>(f.check);
    auto* row2 = widget<QRadioButton>(f.row2);

    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_EQ(box->checkState(), Qt::Checked);
    row2->setFocus();
    QTest::keyClick(row2, Qt::Key_Space); // the selected option: a click all the same
    EXPECT_TRUE(row2->isChecked());
    EXPECT_EQ(log, (std::vector<std::string>{"check 1", "row2"}));
}

TEST_F(ViewInputTest, AHandlerThatOverridesAToggledStateIsWhatTheBoxShows) {
    // The handler refuses the tick: the widget must not keep showing it.
    f.check.clicked.connect([&] {
        if (f.check.value() == 1) f.check.setValue(0);
    });
    auto* box = widget<QCheckBox>(f.check);
    accessibleActions(box)->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(f.check.value(), 0);
    EXPECT_EQ(box->checkState(), Qt::Unchecked);
}

TEST_F(ViewInputTest, AnAssistiveToolsToggleOfAnOptionIsAClickOnIt) {
    f.row2.clicked.connect([&] { log.push_back("row2"); });
    f.row3.clicked.connect([&] { log.push_back("row3"); });
    f.row2.select();
    log.clear();
    auto* row2 = widget<QRadioButton>(f.row2);
    auto* row3 = widget<QRadioButton>(f.row3);

    accessibleActions(row3)->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(f.row3.value());
    EXPECT_FALSE(f.row2.value());
    EXPECT_TRUE(row3->isChecked());
    EXPECT_FALSE(row2->isChecked());

    // Toggling the selected option cannot unselect it; it is a click on it.
    accessibleActions(row3)->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(f.row3.value());
    EXPECT_TRUE(row3->isChecked());

    row2->setChecked(true); // from elsewhere in the program
    EXPECT_TRUE(f.row2.value());
    EXPECT_FALSE(f.row3.value());
    EXPECT_FALSE(row3->isChecked());
    EXPECT_EQ(log, (std::vector<std::string>{"row3", "row3", "row2"}));
}

TEST_F(ViewInputTest, KeysInATextFieldArriveBeforeTheEdit) {
    f.send.keyDown.connect([&](int key, int shift) {
        log.push_back("key " + std::to_string(key) + " " + std::to_string(shift) + " text '" +
                      f.send.text() + "'");
    });
    f.send.textChanged.connect([&] { log.push_back("text '" + f.send.text() + "'"); });
    auto* edit = widget<QLineEdit>(f.send);

    QTest::keyClick(edit, 'A', Qt::ShiftModifier); // the Shift key, then A with Shift held
    QTest::keyClick(edit, Qt::Key_Return);

    EXPECT_EQ(log, (std::vector<std::string>{"key 16 1 text ''", "key 65 1 text ''", "text 'A'",
                                             "key 13 0 text 'A'"}));
    EXPECT_EQ(edit->text(), QString("A"));
}

TEST_F(ViewInputTest, AKeyHandlerThatRewritesTheTextIsNotUndoneByTheEdit) {
    // A key handler that sends the text and clears the box, as the send box does.
    f.send.keyDown.connect([&](int key, int) {
        if (key == 13) f.send.setText("");
    });
    auto* edit = widget<QLineEdit>(f.send);
    QTest::keyClicks(edit, "ab");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(f.send.text(), "");
    EXPECT_EQ(edit->text(), QString());
}

TEST_F(ViewInputTest, PicksAndEditsInAComboBoxAreTheUsersOwn) {
    f.combo.addItem("xterm");
    f.combo.addItem("irc");
    f.combo.picked.connect([&] { log.push_back("pick " + std::to_string(f.combo.listIndex())); });
    f.combo.textChanged.connect([&] { log.push_back("text " + f.combo.text()); });
    auto* combo = widget<QComboBox>(f.combo);

    QTest::keyClick(combo, Qt::Key_Down); // picks the first entry
    QTest::keyClicks(combo->lineEdit(), "2");
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return); // must not add an entry

    EXPECT_EQ(log, (std::vector<std::string>{"text xterm", "pick 0", "text xterm2", "pick -1"}));
    EXPECT_EQ(f.combo.count(), 2);
    EXPECT_EQ(combo->count(), 2);
}

TEST_F(ViewInputTest, AnEditedComboBoxShowsNoPickAndKeepsTheUsersCursor) {
    f.combo.addItem("xterm");
    f.combo.addItem("irc");
    auto* combo = widget<QComboBox>(f.combo);
    QTest::keyClick(combo, Qt::Key_Down);
    ASSERT_EQ(f.combo.listIndex(), 0);

    combo->lineEdit()->setCursorPosition(2);
    QTest::keyClicks(combo->lineEdit(), "ZY"); // typed in the middle, letter by letter
    EXPECT_EQ(f.combo.listIndex(), -1);
    EXPECT_EQ(f.combo.text(), "xtZYerm");
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->currentText(), QString("xtZYerm"));
    EXPECT_EQ(combo->lineEdit()->cursorPosition(), 4);

    // Enter does not take the entry picked before back.
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(f.combo.listIndex(), -1);
    EXPECT_EQ(f.combo.text(), "xtZYerm");
    // Picking again is a pick.
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_GE(f.combo.listIndex(), 0);
    EXPECT_EQ(combo->currentText().toStdString(), f.combo.text());
}

} // namespace
