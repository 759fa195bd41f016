#include "platform/controls/controls.h"

#include <gtest/gtest.h>

using namespace tavren::controls;

TEST(CheckBoxTest, RaisesClickOnlyWhenTheStateChanges) {
    CheckBox box("chk", nullptr, "x");
    int clicks = 0;
    box.clicked.connect([&] { ++clicks; });
    box.setValue(0);
    EXPECT_EQ(clicks, 0);
    box.setValue(2);
    box.setValue(2);
    EXPECT_EQ(clicks, 1);
    box.toggleByUser(); // indeterminate -> unchecked
    EXPECT_EQ(box.value(), 0);
    box.toggleByUser();
    EXPECT_EQ(box.value(), 1);
    EXPECT_EQ(clicks, 3);
}

TEST(OptionButtonTest, SelectingClearsSiblingsOfTheSameContainerOnly) {
    Frame rows("rows", nullptr), cols("cols", nullptr);
    OptionButton r2("OpT", &rows, "2", 2), r3("OpT", &rows, "3", 3);
    OptionButton c2("OpY", &cols, "2", 2);
    int clicks = 0;
    r3.clicked.connect([&] { ++clicks; });
    c2.select();
    r2.select();
    r3.select();
    EXPECT_FALSE(r2.value());
    EXPECT_TRUE(r3.value());
    EXPECT_TRUE(c2.value());
    r3.select(); // already selected: no click
    EXPECT_EQ(clicks, 1);
}

TEST(OptionButtonTest, AUsersClickRaisesClickOnceWhetherOrNotTheOptionWasSelected) {
    Frame rows("rows", nullptr);
    OptionButton r2("OpT", &rows, "2", 2), r3("OpT", &rows, "3", 3);
    int clicks = 0;
    r3.clicked.connect([&] { ++clicks; });
    r2.select();
    r3.clickByUser();
    EXPECT_TRUE(r3.value());
    EXPECT_FALSE(r2.value());
    EXPECT_EQ(clicks, 1);
    r3.clickByUser(); // the selected one: still the user's click
    EXPECT_TRUE(r3.value());
    EXPECT_EQ(clicks, 2);
}

TEST(ComboBoxTest, PickOutsideTheListIsIgnoredAndClearForgetsThePick) {
    ComboBox list("combo", nullptr);
    list.addItem("a");
    list.addItem("b");
    list.setListIndex(5);
    EXPECT_EQ(list.listIndex(), -1);
    list.setListIndex(1);
    EXPECT_EQ(list.text(), "b");
    EXPECT_EQ(list.item(-1), std::nullopt);
    list.clear();
    EXPECT_EQ(list.listIndex(), -1);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.text(), "");
}

TEST(FormTest, SizeChangesFromAResizeHandlerNestInsideIt) {
    Form form("f", "caption");
    std::vector<double> seen;
    form.resized.connect([&] {
        seen.push_back(form.height());
        if (form.height() <= 2000) form.setHeight(2000);
    });
    form.setGeometry({0, 0, 3000, 1500});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], 1500); // outer run, then the nested one with the corrected size
    EXPECT_EQ(seen[1], 2000);
    form.setLeft(100); // a move is not a resize
    EXPECT_EQ(seen.size(), 2u);
}

TEST(ControlTest, BringToFrontReordersSiblingsAndNotifiesTheParent) {
    Form form("f", "c");
    Frame a("Frame", &form, 0), b("Frame", &form, 1);
    int zorders = 0;
    form.changed.connect([&](Property p) { zorders += p == Property::ZOrder; });
    a.bringToFront();
    EXPECT_EQ(form.children().back(), &a);
    a.bringToFront();
    EXPECT_EQ(zorders, 1);
}
