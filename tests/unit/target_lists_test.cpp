#include "delivery/target_lists.h"

#include "fakes/fake_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace tavren;
using services::TopLevelWindow;
using Strings = std::vector<std::string>;

struct TargetListsTest : testing::Test {
    fakes::FakePlatform platform;
    controls::ComboBox combo_UO2{"combo_UO2", nullptr};
    controls::ComboBox combo_UO{"combo_UO", nullptr};
    controls::ComboBox Combo_IRC{"Combo_IRC", nullptr};
    controls::ComboBox Combo_hWnd{"Combo_hWnd", nullptr};
    controls::CheckBox chk_uo{"chk_uo", nullptr, "return"};
    controls::Button WindowDataGet{"WindowDataGet", nullptr, "再取得"};
    delivery::TargetLists lists{{combo_UO2, combo_UO, Combo_IRC, Combo_hWnd, chk_uo, WindowDataGet},
                                platform.windowManager};

    void discover(std::vector<TopLevelWindow> windows, int button = controls::kLeftButton) {
        platform.windowManager.windows = std::move(windows);
        WindowDataGet.pressMouse({button});
    }
    Strings titles() const { return combo_UO2.items(); }
};

TEST_F(TargetListsTest, ListsVisibleTitledWindowsTopmostFirstInFourParallelLists) {
    discover({{30, "IRC client", true},
              {31, "", true},
              {32, "hidden", false},
              {33, "   ", true},
              {34, "  padded  ", true},
              {35, "IRC client", true},
              {-7, "negative handle", true}},
             controls::kRightButton);

    const Strings expected{"IRC client", "  padded  ", "IRC client", "negative handle"};
    EXPECT_EQ(combo_UO2.items(), expected);
    EXPECT_EQ(combo_UO.items(), expected);
    EXPECT_EQ(Combo_IRC.items(), expected);
    EXPECT_EQ(Combo_hWnd.items(), (Strings{"30", "34", "35", "-7"}));
}

TEST_F(TargetListsTest, CutsLongTitlesTo254BytesWithoutSplittingACharacter) {
    const std::string kana = "\xE3\x81\x82";      // "あ", three bytes
    const std::string emoji = "\xF0\x9F\x98\x80"; // four bytes
    std::string kanaTitle;
    for (int i = 0; i < 100; ++i)
        kanaTitle += kana;
    std::string emojiTitle = std::string(251, 'e') + emoji + "tail"; // emoji over 254
    struct Case {
        std::string title;
        std::string listed;
    } cases[] = {
        {std::string(254, 'x'), std::string(254, 'x')},
        {std::string(300, 'x'), std::string(254, 'x')},
        {kanaTitle, kanaTitle.substr(0, 84 * 3)},
        {emojiTitle, std::string(251, 'e')},
        {std::string(250, 'e') + emoji + "t", std::string(250, 'e') + emoji},
    };
    std::vector<TopLevelWindow> windows;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        windows.push_back({static_cast<services::WindowHandle>(i + 1), cases[i].title, true});
    discover(windows);

    ASSERT_EQ(titles().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(titles()[i], cases[i].listed) << "case " << i;
}

TEST_F(TargetListsTest, TitleBlankInItsFirst519BytesIsNotListed) {
    discover(
        {{1, std::string(519, ' ') + "late text", true}, {2, std::string(518, ' ') + "x", true}});
    // The second one counts as titled, and is listed with its first 254 bytes.
    EXPECT_EQ(titles(), Strings{std::string(254, ' ')});
    EXPECT_EQ(Combo_hWnd.items(), Strings{"2"});
}

TEST_F(TargetListsTest, GameClientRuleMatchesTheTwoWordsInAnyCase) {
    struct Case {
        const char* title;
        bool matches;
    } cases[] = {
        {"Ultima Online", true},
        {"ULTIMA ONLINE - Britain", true},
        {"my ultima online client", true},
        {"[uLtImA oNlInE]", true},
        {"UltimaOnline", false},
        {"Ultima  Online", false},
        {"Ultima", false},
        {"Online Ultima", false},
    };
    for (const auto& c : cases) {
        discover({{500, "IRC", true}, {501, c.title, true}});
        EXPECT_EQ(Combo_IRC.text(), c.matches ? c.title : "") << c.title;
        EXPECT_EQ(Combo_hWnd.text(), c.matches ? "501" : "") << c.title;
        EXPECT_EQ(combo_UO2.listIndex(), -1) << c.title;
        EXPECT_EQ(combo_UO.listIndex(), -1) << c.title;
    }
}

TEST_F(TargetListsTest, LowestMatchingGameClientWins) {
    discover({{1, "Ultima Online - upper", true},
              {2, "chat", true},
              {3, "Ultima Online - lower", true},
              {4, "editor", true}});
    EXPECT_EQ(Combo_IRC.text(), "Ultima Online - lower");
    EXPECT_EQ(Combo_hWnd.text(), "3");
}

TEST_F(TargetListsTest, RefreshReplacesEverythingAndDropsThePicks) {
    discover({{1, "Ultima Online", true}, {2, "chat", true}});
    combo_UO2.setListIndex(1);
    combo_UO.setListIndex(0);

    discover({{7, "editor", true}, {8, "chat", true}, {9, "terminal", true}});

    EXPECT_EQ(titles(), (Strings{"editor", "chat", "terminal"}));
    EXPECT_EQ(Combo_hWnd.items(), (Strings{"7", "8", "9"}));
    EXPECT_EQ(combo_UO2.listIndex(), -1);
    EXPECT_EQ(combo_UO.listIndex(), -1);
    EXPECT_EQ(Combo_IRC.text(), "");
    EXPECT_EQ(Combo_hWnd.text(), "");
}

TEST_F(TargetListsTest, ReturnSwitchEnablesAndColoursTheReturnList) {
    struct Case {
        int value;
        bool enabled;
        controls::Colour colour;
    } cases[] = {
        {1, true, controls::kWindowBackground},
        {0, false, controls::kButtonFace},
        {2, false, controls::kButtonFace},
        {1, true, controls::kWindowBackground},
    };
    for (const auto& c : cases) {
        chk_uo.setValue(c.value);
        EXPECT_EQ(combo_UO.enabled(), c.enabled) << c.value;
        EXPECT_EQ(WindowDataGet.enabled(), c.enabled) << c.value;
        EXPECT_EQ(combo_UO.backColour(), c.colour) << c.value;
    }
    // The send destination list is not the switch's business.
    EXPECT_TRUE(combo_UO2.enabled());
}

TEST_F(TargetListsTest, ReturnSwitchAppliedDirectlyReadsTheCurrentState) {
    // Start-up calls the handler once without a change of the box.
    chk_uo.setValue(1);
    combo_UO.setEnabled(false);
    lists.chk_uo_Click();
    EXPECT_TRUE(combo_UO.enabled());
}

} // namespace
