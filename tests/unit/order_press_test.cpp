#include "board/order_press.h"

#include "delivery/send_keys.h"
#include "fakes/fake_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace tavren;

constexpr services::WindowHandle kChat = 4242;

using Texts = std::vector<services::KeySequence>;

struct OrderPressTest : testing::Test {
    fakes::FakePlatform platform;

    controls::ComboBox combo_UO2{"combo_UO2", nullptr};
    controls::ComboBox combo_UO{"combo_UO", nullptr};
    controls::ComboBox Combo_hWnd{"Combo_hWnd", nullptr};
    controls::CheckBox chk_uo{"chk_uo", nullptr, "return"};
    controls::TextField sendtext{"sendtext", nullptr};
    controls::Button btn_Send{"btn_Send", nullptr, "送信"};
    controls::CheckBox chk_Key{"chk_Key", nullptr, "キーボード監視"};
    controls::Timer Timer1{"Timer1", nullptr};
    controls::ControlArray<controls::Button> tavren = makeButtons();

    delivery::SendPipeline pipeline{{combo_UO2, combo_UO, Combo_hWnd, chk_uo, sendtext, btn_Send},
                                    platform.windowManager,
                                    platform.eventLoop,
                                    platform.keyboard};
    board::OrderPress press{{tavren, sendtext, chk_Key, Timer1}, pipeline, platform.keyMonitor};

    OrderPressTest() {
        combo_UO2.addItem("chat");
        Combo_hWnd.addItem(std::to_string(kChat));
        combo_UO2.setListIndex(0);
    }

    static controls::ControlArray<controls::Button> makeButtons() {
        controls::ControlArray<controls::Button> buttons;
        for (int i = 0; i <= 81; ++i)
            buttons.add(i, "tavren", nullptr, "order " + std::to_string(i), i);
        return buttons;
    }

    // The texts the keyboard received, one per press, as the send box held them.
    Texts typed() const {
        Texts out;
        for (const auto& t : platform.keyboard.typed)
            out.push_back(t.keys);
        return out;
    }
    static services::KeySequence keysFor(const std::string& text) {
        return delivery::parseSendKeys(text + "\r\n").value_or(services::KeySequence{});
    }
    void hold(int digit) { platform.keyMonitor.states[digit].downNow = true; }
    void tap(int digit) { platform.keyMonitor.states[digit].pressedSinceLastQuery = true; }
};

// A press delivers the caption in the key syntax, whichever mouse button: a
// tilde is Enter where it stands, "+" shifts the next key, braces name keys.
TEST_F(OrderPressTest, SyntaxCharactersInACaptionKeepTheirMeaning) {
    using services::KeyStroke;
    using services::NamedKey;
    tavren[5].setCaption("撤退~+a{TAB}\\\\");
    platform.windowManager.foreground = kChat;

    tavren[5].pressMouse({controls::kLeftButton, 0, 0, 0});
    tavren[5].pressMouse({controls::kRightButton, 0, 0, 0});

    const services::KeySequence head{
        KeyStroke::text(U'撤'), KeyStroke::text(U'退'), KeyStroke::key(NamedKey::Enter),
        KeyStroke::text(U'a', services::kShift), KeyStroke::key(NamedKey::Tab)};
    auto left = head, right = head;
    left.insert(left.end(), {KeyStroke::text(U'\\'), KeyStroke::text(U'\\')});
    right.insert(right.end(), {KeyStroke::text(U'@'), KeyStroke::text(U'@')});
    left.push_back(KeyStroke::key(NamedKey::Enter));
    right.push_back(KeyStroke::key(NamedKey::Enter));
    EXPECT_EQ(typed(), (Texts{left, right}));
}

TEST_F(OrderPressTest, MouseButtonDecidesWhetherBackslashAndYenBecomeAtSigns) {
    const std::string caption = "a\\b\\\xEF\xBF\xA5"
                                "c\xEF\xBF\xA5"; // a\b\￥c￥
    const std::string replaced = "a@b@\xEF\xBC\xA0"
                                 "c\xEF\xBC\xA0";            // a@b@＠c＠
    const std::string fullWidthBackslash = "x\xEF\xBC\xBCy"; // x＼y, not replaced
    struct Case {
        std::string caption;
        int button;
        std::string sent;
    } cases[] = {
        {caption, controls::kLeftButton, caption},
        {caption, controls::kRightButton, replaced},
        {caption, controls::kMiddleButton, replaced},
        {caption, 3, replaced},
        {fullWidthBackslash, controls::kRightButton, fullWidthBackslash},
        {"plain 123 !?", controls::kRightButton, "plain 123 !?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption + " / " + std::to_string(c.button));
        tavren[5].setCaption(c.caption);
        platform.keyboard.typed.clear();

        tavren[5].pressMouse({c.button, controls::kShiftKey, 12, 34});

        EXPECT_EQ(sendtext.text(), c.sent);
        ASSERT_EQ(typed().size(), 1u);
        EXPECT_EQ(typed()[0], keysFor(c.sent));
        EXPECT_EQ(tavren[5].caption(), c.caption);
    }
}

TEST_F(OrderPressTest, CaptionReplacesWhateverTheSendBoxHeld) {
    sendtext.setText("typed by hand");
    tavren[0].pressMouse({controls::kLeftButton});
    EXPECT_EQ(sendtext.text(), "order 0");
    EXPECT_EQ(typed(), Texts{keysFor("order 0")});
}

TEST_F(OrderPressTest, MouseUpChangesNothing) {
    sendtext.setText("kept");
    for (int button : {controls::kLeftButton, controls::kRightButton})
        tavren[3].releaseMouse({button});
    EXPECT_EQ(sendtext.text(), "kept");
    EXPECT_TRUE(platform.log.entries().empty());
}

TEST_F(OrderPressTest, MonitoringSwitchStartsAndStopsThePollingTimer) {
    struct Step {
        int value;
        int interval;
    } steps[] = {{1, 100}, {0, 0}, {2, 0}, {1, 100}, {2, 0}};
    EXPECT_EQ(Timer1.interval(), 0);
    for (const auto& s : steps) {
        chk_Key.setValue(s.value);
        EXPECT_EQ(Timer1.interval(), s.interval) << s.value;
    }
}

TEST_F(OrderPressTest, KeypadDigitPressesTheButtonAfterIt) {
    chk_Key.setValue(1);
    platform.log.clear();
    hold(9);
    tap(0);
    hold(4);

    Timer1.tick();

    EXPECT_EQ(typed(), (Texts{keysFor("order 1"), keysFor("order 5"), keysFor("order 10")}));
    // Every key is looked at, in ascending order.
    std::vector<std::string> queries;
    for (int d = 0; d <= 9; ++d)
        queries.push_back("query " + std::to_string(d));
    EXPECT_EQ(platform.log.withPrefix("query "), queries);
}

TEST_F(OrderPressTest, EachHotKeyPressEndsBeforeTheNextKeyIsExamined) {
    chk_Key.setValue(1);
    platform.log.clear();
    tap(2);
    tap(3);

    Timer1.tick();

    const auto& log = platform.log.entries();
    const auto at = [&](const std::string& entry) {
        return std::find(log.begin(), log.end(), entry) - log.begin();
    };
    const auto firstType =
        std::find_if(log.begin(), log.end(),
                     [](const std::string& e) { return e.rfind("type ", 0) == 0; }) -
        log.begin();
    EXPECT_LT(at("query 2"), firstType);
    EXPECT_LT(firstType, at("query 3"));
    EXPECT_EQ(typed().size(), 2u);
}

TEST_F(OrderPressTest, HeldKeyPressesAgainAtEveryTickATapOnlyOnce) {
    chk_Key.setValue(1);
    hold(1);
    tap(2);
    for (int i = 0; i < 3; ++i)
        Timer1.tick();
    EXPECT_EQ(typed(), (Texts{keysFor("order 2"), keysFor("order 3"), keysFor("order 2"),
                              keysFor("order 2")}));
}

TEST_F(OrderPressTest, HotKeyReachesAHiddenButton) {
    for (int i = 8; i <= 81; ++i)
        tavren[i].setVisible(false); // a board of eight buttons
    tavren[9].setCaption("hidden order");
    chk_Key.setValue(1);
    tap(8);

    Timer1.tick();

    EXPECT_EQ(typed(), Texts{keysFor("hidden order")});
}

TEST_F(OrderPressTest, TapsMadeWhileMonitoringWasOffAreForgottenHeldKeysStillPress) {
    tap(0); // typed into another program with monitoring off
    hold(3);
    chk_Key.setValue(1);
    tap(5);

    Timer1.tick();

    EXPECT_EQ(typed(), (Texts{keysFor("order 4"), keysFor("order 6")}));
}

TEST_F(OrderPressTest, SwitchingOffAndOnAgainForgetsTapsInBetween) {
    chk_Key.setValue(1);
    tap(1);
    chk_Key.setValue(0);
    tap(2);
    chk_Key.setValue(1);

    Timer1.tick();

    EXPECT_TRUE(typed().empty());
}

// A key seen held whose release may go unseen while monitoring is off must not
// press again once it is back on: switching off tells the monitor.
TEST_F(OrderPressTest, SwitchingOffTellsTheMonitorWhichForgetsHeldKeys) {
    chk_Key.setValue(1);
    hold(3);
    Timer1.tick();
    chk_Key.setValue(0);
    EXPECT_EQ(platform.log.withPrefix("monitoringStopped"),
              std::vector<std::string>{"monitoringStopped"});
    chk_Key.setValue(1);

    Timer1.tick();

    EXPECT_EQ(typed(), Texts{keysFor("order 4")});
}

TEST_F(OrderPressTest, NoKeyDownNoPress) {
    chk_Key.setValue(1);
    Timer1.tick();
    EXPECT_TRUE(typed().empty());
    EXPECT_TRUE(platform.log.withPrefix("bringToFront").empty());
}

} // namespace
