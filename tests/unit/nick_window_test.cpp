#include "nick/nick_window.h"

#include "fakes/fake_services.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace tavren;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct NickWindowTest : ::testing::Test {
    NickWindowTest() {
        link.openAndAnnounce();
        conversation.executed.clear();
        log.clear();
    }
    controls::Button& button(const std::string& caption) {
        for (auto* b : {&form.Command1, &form.Command2, &form.Command3, &form.Command4,
                        &form.Command5, &form.Command6, &form.Command7})
            if (b->caption() == caption) return *b;
        throw std::invalid_argument(caption);
    }

    fakes::CallLog log;
    fakes::FakeConversation conversation{log};
    controls::TextField servername{"servername", nullptr, "Text1"};
    controls::CheckBox chk_rename{"chk_rename", nullptr, "ニック変更ボタン表示"};
    delivery::IrcLink link{servername, conversation};
    nick::NickForm form;
    nick::NickWindow window{form, chk_rename, servername, link};
};

struct NickCase {
    const char* nick;
    const char* caption;
    int mouseButton;
    const char* command;
};

TEST_F(NickWindowTest, APressOfAnyMouseButtonSendsPrefixAndNickWithoutTrailingSpaces) {
    const NickCase cases[] = {
        {"Taro   ", "WS", controls::kLeftButton, "Text1,/nick WS_Taro\r\n"},
        {" Taro", "A", controls::kLeftButton, "Text1,/nick A_ Taro\r\n"},
        {"", "D", controls::kLeftButton, "Text1,/nick D_\r\n"},
        {"   ", "F", controls::kLeftButton, "Text1,/nick F_\r\n"},
        {"Taro  ", "HOQ", controls::kRightButton, "Text1,/nick HOQ_Taro\r\n"},
        {"Ta ro", "F", controls::kMiddleButton, "Text1,/nick F_Ta ro\r\n"},
        // Only the space character is trimmed: the ideographic space and the tab stay.
        {"太郎　 ", "WS", controls::kLeftButton, "Text1,/nick WS_太郎　\r\n"},
        {"Taro\t ", "D", controls::kRightButton, "Text1,/nick D_Taro\t\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.caption) + " [" + c.nick + "]");
        conversation.executed.clear();
        form.txt_nick.setText(c.nick);
        button(c.caption).pressMouse({c.mouseButton, controls::kNoShift, 5, 5});
        EXPECT_THAT(conversation.executed, ElementsAre(c.command));
        EXPECT_EQ(form.txt_nick.text(), c.nick); // a press never edits the nick
    }
}

TEST_F(NickWindowTest, EveryPrefixButtonSendsItsOwnPrefixUnderTheCurrentServerName) {
    servername.setText("Quor");
    conversation.executed.clear();
    form.txt_nick.setText("Taro");
    for (const char* caption : {"WS", "D", "F", "HOQ", "A"})
        button(caption).pressMouse({});
    EXPECT_THAT(conversation.executed,
                ElementsAre("Quor,/nick WS_Taro\r\n", "Quor,/nick D_Taro\r\n",
                            "Quor,/nick F_Taro\r\n", "Quor,/nick HOQ_Taro\r\n",
                            "Quor,/nick A_Taro\r\n"));
}

TEST_F(NickWindowTest, NormalAndWmSendNothing) {
    form.txt_nick.setText("Taro");
    for (const char* caption : {"通常", "WM"}) {
        button(caption).pressMouse({controls::kLeftButton});
        button(caption).pressMouse({controls::kRightButton});
        button(caption).releaseMouse({});
        button(caption).click();
    }
    EXPECT_THAT(log.withPrefix("execute"), IsEmpty());
}

TEST_F(NickWindowTest, WithoutAPeerAPressIsSilent) {
    conversation.peerRunning = false;
    link.openAndAnnounce();
    conversation.executed.clear();
    log.clear();
    form.txt_nick.setText("Taro");
    button("WS").pressMouse({});
    EXPECT_THAT(log.entries(), ElementsAre("execute Text1,/nick WS_Taro\r\n"));
    EXPECT_THAT(conversation.executed, IsEmpty());
}

TEST_F(NickWindowTest, CheckBoxStateOneShowsTheWindowAndAnyOtherHidesIt) {
    EXPECT_FALSE(form.frm_nick.isLoaded());
    chk_rename.setValue(1);
    EXPECT_TRUE(form.frm_nick.isLoaded());
    EXPECT_TRUE(form.frm_nick.visible());
    chk_rename.setValue(2);
    EXPECT_FALSE(form.frm_nick.visible());
    chk_rename.setValue(1);
    chk_rename.setValue(0);
    EXPECT_FALSE(form.frm_nick.visible());
    // A direct call (the order file's nick line) follows the box as it stands.
    chk_rename.setValue(1);
    form.frm_nick.setVisible(false);
    window.chk_rename_Click();
    EXPECT_TRUE(form.frm_nick.visible());
}

TEST_F(NickWindowTest, HidingCreatesTheWindowHidden) {
    int loads = 0;
    form.frm_nick.loaded.connect([&] { ++loads; });
    chk_rename.setValue(2);
    EXPECT_TRUE(form.frm_nick.isLoaded());
    EXPECT_FALSE(form.frm_nick.visible());
    window.ensureCreated();
    chk_rename.setValue(1);
    EXPECT_EQ(loads, 1);
}

TEST_F(NickWindowTest, ClosingHidesTheWindowKeepsItAndClearsTheCheckBox) {
    chk_rename.setValue(1);
    form.txt_nick.setText("Taro");
    int clicks = 0;
    chk_rename.clicked.connect([&] { ++clicks; });

    EXPECT_FALSE(form.frm_nick.requestClose());
    EXPECT_FALSE(form.frm_nick.visible());
    EXPECT_EQ(chk_rename.value(), 0);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form.frm_nick.isLoaded());
    EXPECT_EQ(form.txt_nick.text(), "Taro");
    // The hidden window still works, should anything press its buttons.
    button("A").pressMouse({});
    EXPECT_THAT(conversation.executed, ElementsAre("Text1,/nick A_Taro\r\n"));
}

} // namespace
