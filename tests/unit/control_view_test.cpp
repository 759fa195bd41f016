// The shape every view gives the native counterparts of the controls: the
// properties in showing order, visibility last; each change shown once; the
// echo of the view's own change never raising the control's events again; and
// a form's window built once, when its form is first loaded or shown.
#include "platform/controls/control_view.h"
#include "platform/controls/controls.h"
#include "platform/controls/form_windows.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

using namespace tavren::controls;

namespace {

using Shown = std::vector<Property>;

TEST(ShowingOrder, EveryPropertyOnceAndVisibilityLast) {
    for (Kind kind :
         {Kind::Form, Kind::Frame, Kind::Label, Kind::Button, Kind::CheckBox, Kind::OptionButton,
          Kind::TextField, Kind::ComboBox, Kind::MenuItem, Kind::Timer}) {
        const Shown& order = showingOrder(kind);
        ASSERT_FALSE(order.empty()) << static_cast<int>(kind);
        EXPECT_EQ(order.back(), Property::Visible) << static_cast<int>(kind);
        EXPECT_EQ(std::set<Property>(order.begin(), order.end()).size(), order.size())
            << static_cast<int>(kind);
    }
}

// An option button as the toolkits have them: it reports every change of its
// state, the program's as well as the user's.
struct NativeOption {
    bool checked = false;
    std::function<void()> toggled;

    void setChecked(bool c) {
        if (c == checked) return;
        checked = c;
        toggled();
    }
};

// The view of an option button on one: a toggle is the user's click.
class OptionView : public ControlView {
public:
    OptionView(OptionButton& option, NativeOption& native, Shown& shown)
        : ControlView(option), option_(option), native_(native), shown_(shown) {
        native_.toggled = [this] {
            if (!isEcho()) option_.clickByUser();
        };
    }

private:
    void apply(Property property) override {
        shown_.push_back(property);
        if (property == Property::Value) native_.setChecked(option_.value());
    }

    OptionButton& option_;
    NativeOption& native_;
    Shown& shown_;
};

class ControlViewTest : public ::testing::Test {
protected:
    Frame panel{"Frame", nullptr};
    OptionButton option{"OpT", &panel, "2", 2};
    NativeOption native;
    Shown shown;
    int clicks = 0;

    void SetUp() override {
        option.clicked.connect([this] { ++clicks; });
    }
};

TEST_F(ControlViewTest, ShowsEveryPropertyInShowingOrderThenEachChangeOnce) {
    OptionView view(option, native, shown);
    view.showAll();
    view.follow();
    EXPECT_EQ(shown, showingOrder(Kind::OptionButton));
    shown.clear();
    option.setEnabled(false);
    option.setGeometry({0, 0, 1200, 300});
    EXPECT_EQ(shown, (Shown{Property::Enabled, Property::Geometry}));
}

TEST_F(ControlViewTest, TheEchoOfTheProgramsChangeRaisesNoSecondEvent) {
    OptionView view(option, native, shown);
    view.showAll();
    view.follow();
    option.select();
    EXPECT_TRUE(native.checked);
    EXPECT_EQ(clicks, 1);
    native.setChecked(false); // the user, through an assistive tool
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlViewTest, AViewGoneShowsNothing) {
    {
        OptionView view(option, native, shown);
        view.follow();
    }
    option.setEnabled(false);
    EXPECT_TRUE(shown.empty());
}

// A form's window: what it shows, and how many such windows there are.
class FormView : public ControlView {
public:
    FormView(Form& form, Shown& shown, int& windows)
        : ControlView(form), shown_(shown), windows_(windows) {
        ++windows_;
    }
    ~FormView() override { --windows_; }

private:
    void apply(Property property) override { shown_.push_back(property); }

    Shown& shown_;
    int& windows_;
};

class FormWindowsTest : public ::testing::Test {
protected:
    Form form{"IRC_Quorvel", "Tavren"};
    Shown shown;
    int windows = 0;
    int builds = 0;
    std::unique_ptr<FormWindows<FormView>> forms =
        std::make_unique<FormWindows<FormView>>([this](Form& f) {
            ++builds;
            return std::make_unique<FormView>(f, shown, windows);
        });
};

TEST_F(FormWindowsTest, BuildsTheWindowOnceWhenTheFormIsFirstLoaded) {
    forms->add(form);
    form.setCaption("設定");
    EXPECT_EQ(builds, 0);
    EXPECT_EQ(forms->find(form), nullptr);
    form.load();
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(shown, showingOrder(Kind::Form));
    shown.clear();
    form.setVisible(true);
    form.setCaption("Tavren");
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(shown, (Shown{Property::Visible, Property::Caption}));
    EXPECT_EQ(forms->build(form), forms->find(form));
}

TEST_F(FormWindowsTest, AFormAlreadyShownGetsItsWindowWhenGiven) {
    form.setVisible(true);
    forms->add(form);
    forms->add(form);
    EXPECT_EQ(builds, 1);
    EXPECT_NE(forms->find(form), nullptr);
}

TEST_F(FormWindowsTest, TheWindowsGoWithTheRegistryAndTheFormsOutliveThem) {
    forms->add(form);
    form.load();
    ASSERT_EQ(windows, 1);
    forms.reset();
    EXPECT_EQ(windows, 0);
    shown.clear();
    form.setCaption("設定");
    form.setVisible(true);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(builds, 1);
}

} // namespace
