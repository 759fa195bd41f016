#include "delivery/send_pipeline.h"

#include "delivery/send_keys.h"
#include "fakes/fake_services.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace tavren;
using services::KeyStroke;
using services::NamedKey;
using services::WindowHandle;

constexpr WindowHandle kChat = 101;
constexpr WindowHandle kGame = 102;
constexpr WindowHandle kEditor = 103;

// What a press may cost in all: 21 passes of event processing.
constexpr int kPassBudget = 21;

struct SendPipelineTest : testing::Test {
    fakes::FakePlatform platform;
    fakes::FakeWindowManager& windows = platform.windowManager;
    fakes::FakeEventLoop& events = platform.eventLoop;
    fakes::FakeKeyboard& keyboard = platform.keyboard;

    controls::ComboBox combo_UO2{"combo_UO2", nullptr};
    controls::ComboBox combo_UO{"combo_UO", nullptr};
    controls::ComboBox Combo_hWnd{"Combo_hWnd", nullptr};
    controls::CheckBox chk_uo{"chk_uo", nullptr, "return"};
    controls::TextField sendtext{"sendtext", nullptr};
    controls::Button btn_Send{"btn_Send", nullptr, "送信"};
    delivery::SendPipeline pipeline{
        {combo_UO2, combo_UO, Combo_hWnd, chk_uo, sendtext, btn_Send}, windows, events, keyboard};

    SendPipelineTest() {
        for (auto [handle, title] :
             {std::pair{kChat, "chat"}, {kGame, "Ultima Online"}, {kEditor, "editor"}}) {
            combo_UO2.addItem(title);
            combo_UO.addItem(title);
            Combo_hWnd.addItem(std::to_string(handle));
        }
    }

    static int position(WindowHandle w) { return static_cast<int>(w - kChat); }
    void pickDestination(WindowHandle w) { combo_UO2.setListIndex(position(w)); }
    void pickReturn(WindowHandle w) {
        combo_UO.setListIndex(position(w));
        chk_uo.setValue(1);
    }
    // The window comes to the front at the check after `passes` passes.
    void arrivesAfter(WindowHandle w, int passes) { windows.requestsNeeded[w] = passes + 1; }

    void press() { pipeline.btn_Send_MouseDown(controls::MouseEvent{}); }

    int frontRequests(WindowHandle w) { return windows.frontRequests[w]; }

    static services::KeySequence keysFor(const std::string& text) {
        return parseKeys(text + "\r\n");
    }
    static services::KeySequence parseKeys(const std::string& text) {
        auto keys = delivery::parseSendKeys(text);
        EXPECT_TRUE(keys.has_value()) << text;
        return keys.value_or(services::KeySequence{});
    }
};

TEST_F(SendPipelineTest, DestinationAlreadyInFrontIsTypedIntoAtOnce) {
    pickDestination(kGame);
    windows.foreground = kGame;
    sendtext.setText("abc");

    press();

    EXPECT_EQ(events.passes, 0);
    ASSERT_EQ(keyboard.typed.size(), 1u);
    EXPECT_EQ(keyboard.typed[0].target, kGame);
    const auto& keys = keyboard.typed[0].keys;
    ASSERT_GE(keys.size(), 4u);
    EXPECT_EQ(std::vector(keys.begin(), keys.begin() + 4),
              (services::KeySequence{KeyStroke::text(U'a'), KeyStroke::text(U'b'),
                                     KeyStroke::text(U'c'), KeyStroke::key(NamedKey::Enter)}));
    EXPECT_EQ(keys, keysFor("abc"));
    EXPECT_EQ(sendtext.text(), "abc");
}

// The text is handed to the key syntax as it stands: nothing escapes its
// syntax characters on the way, so an order can press Enter, modifiers and
// named keys where it says so.
TEST_F(SendPipelineTest, SyntaxCharactersInTheTextKeepTheirMeaning) {
    pickDestination(kChat);
    windows.foreground = kChat;
    sendtext.setText("a~+b^c%(de){TAB}{~}{+}{{}x");

    press();

    ASSERT_EQ(keyboard.typed.size(), 1u);
    EXPECT_EQ(
        keyboard.typed[0].keys,
        (services::KeySequence{
            KeyStroke::text(U'a'), KeyStroke::key(NamedKey::Enter),
            KeyStroke::text(U'b', services::kShift), KeyStroke::text(U'c', services::kControl),
            KeyStroke::text(U'd', services::kAlt), KeyStroke::text(U'e', services::kAlt),
            KeyStroke::key(NamedKey::Tab), KeyStroke::text(U'~'), KeyStroke::text(U'+'),
            KeyStroke::text(U'{'), KeyStroke::text(U'x'), KeyStroke::key(NamedKey::Enter)}));
}

TEST_F(SendPipelineTest, EmptySendBoxTypesOnlyTheLineBreak) {
    pickDestination(kChat);
    press();

    ASSERT_EQ(keyboard.typed.size(), 1u);
    const auto& keys = keyboard.typed[0].keys;
    EXPECT_EQ(std::count(keys.begin(), keys.end(), KeyStroke::key(NamedKey::Enter)), 1);
    EXPECT_TRUE(std::all_of(keys.begin(), keys.end(),
                            [](const KeyStroke& k) { return k.isNamed || k.character == U'\n'; }));
    EXPECT_EQ(keys, keysFor(""));
}

TEST_F(SendPipelineTest, DestinationWaitAndReturnWaitShareOneBudget) {
    // The destination arrives after k passes; the return window never does, so
    // its wait spends what is left of the press's 21 passes.
    for (int k : {0, 1, 10, 20, 21}) {
        SCOPED_TRACE(k);
        fakes::FakePlatform fresh;
        delivery::SendPipeline p{{combo_UO2, combo_UO, Combo_hWnd, chk_uo, sendtext, btn_Send},
                                 fresh.windowManager,
                                 fresh.eventLoop,
                                 fresh.keyboard};
        fresh.windowManager.requestsNeeded[kChat] = k + 1;
        fresh.windowManager.refused[kEditor] = true;
        pickDestination(kChat);
        pickReturn(kEditor);

        p.btn_Send_MouseDown(controls::MouseEvent{});

        EXPECT_EQ(fresh.keyboard.typed.size(), 1u);
        EXPECT_EQ(fresh.eventLoop.passes, kPassBudget);
        EXPECT_GE(fresh.windowManager.frontRequests[kEditor], 1);
    }
}

TEST_F(SendPipelineTest, ReturnWindowArrivesOnlyWithinWhatTheDestinationLeft) {
    struct Case {
        int destinationPasses;
        int returnPasses;
        bool returned;
    } cases[] = {{0, 0, true}, {5, 16, true}, {5, 17, false}, {21, 0, true}, {21, 1, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.destinationPasses) + "+" + std::to_string(c.returnPasses));
        fakes::FakePlatform fresh;
        delivery::SendPipeline p{{combo_UO2, combo_UO, Combo_hWnd, chk_uo, sendtext, btn_Send},
                                 fresh.windowManager,
                                 fresh.eventLoop,
                                 fresh.keyboard};
        fresh.windowManager.requestsNeeded[kChat] = c.destinationPasses + 1;
        fresh.windowManager.requestsNeeded[kEditor] = c.returnPasses + 1;
        pickDestination(kChat);
        pickReturn(kEditor);

        p.btn_Send_MouseDown(controls::MouseEvent{});

        EXPECT_EQ(fresh.keyboard.typed.size(), 1u);
        // A return window that does come to the front is found there by the
        // last check; one that does not gets its last request after that check.
        EXPECT_EQ(fresh.eventLoop.passes,
                  c.returned ? c.destinationPasses + c.returnPasses : kPassBudget);
        if (c.returned) {
            EXPECT_EQ(fresh.windowManager.foreground, kEditor);
        }
    }
}

TEST_F(SendPipelineTest, DestinationNotInFrontAfterThe21stPassGetsNothing) {
    arrivesAfter(kChat, 22);
    pickDestination(kChat);
    pickReturn(kEditor);
    sendtext.setText("lost");

    press();

    EXPECT_EQ(events.passes, kPassBudget);
    EXPECT_TRUE(keyboard.typed.empty());
    EXPECT_EQ(frontRequests(kEditor), 0);
}

TEST_F(SendPipelineTest, DestinationThatArrivesDuringThe21stPassStillGetsTheText) {
    for (int arrivalPass : {21, 22}) {
        SCOPED_TRACE(arrivalPass);
        fakes::FakePlatform fresh;
        delivery::SendPipeline p{{combo_UO2, combo_UO, Combo_hWnd, chk_uo, sendtext, btn_Send},
                                 fresh.windowManager,
                                 fresh.eventLoop,
                                 fresh.keyboard};
        fresh.windowManager.refused[kGame] = true;
        fresh.eventLoop.onPass = [&](int pass) {
            if (pass == arrivalPass) fresh.windowManager.foreground = kGame;
        };
        pickDestination(kGame);

        p.btn_Send_MouseDown(controls::MouseEvent{});

        EXPECT_EQ(fresh.keyboard.typed.size(), arrivalPass <= kPassBudget ? 1u : 0u);
        EXPECT_EQ(fresh.eventLoop.passes, kPassBudget);
    }
}

TEST_F(SendPipelineTest, ReadsThePickAfreshAtEveryCheck) {
    windows.refused[kChat] = true;
    pickDestination(kChat);
    events.onPass = [&](int pass) {
        if (pass == 3) pickDestination(kEditor);
    };

    press();

    // The check after pass 3 sees the new pick and asks for it; it is found in
    // front after one more pass.
    ASSERT_EQ(keyboard.typed.size(), 1u);
    EXPECT_EQ(keyboard.typed[0].target, kEditor);
    EXPECT_EQ(events.passes, 4);
}

TEST_F(SendPipelineTest, SendBoxIsReadAfterTheWaitSoANestedPressWinsTheText) {
    arrivesAfter(kChat, 2);
    pickDestination(kChat);
    sendtext.setText("outer");
    events.pending.push_back([&] {
        sendtext.setText("nested");
        press();
    });

    press();

    ASSERT_EQ(keyboard.typed.size(), 2u);
    EXPECT_EQ(keyboard.typed[0].keys, keysFor("nested"));
    EXPECT_EQ(keyboard.typed[1].keys, keysFor("nested"));
    EXPECT_EQ(keyboard.typed[1].target, kChat);
}

TEST_F(SendPipelineTest, NestedPressHasItsOwnRetryBudgetAndPush) {
    windows.refused[kChat] = true;
    pickDestination(kChat);
    events.pending.push_back([&] { press(); }); // runs in the outer press's first pass

    press();

    // The nested press spends 21 passes of its own inside the outer's first;
    // the outer then goes on with its remaining 20.
    EXPECT_EQ(events.passes, 2 * kPassBudget);
    EXPECT_TRUE(keyboard.typed.empty());
    EXPECT_EQ(windows.pushesPastRefusal, 2);
}

// A refusal is pushed past once per press: the destination's wait and the
// return window's draw on the same allowance, however many requests they make.
TEST_F(SendPipelineTest, BothWaitsOfAPressShareOnePushPastARefusal) {
    windows.refused[kGame] = true;
    windows.refused[kEditor] = true;
    events.onPass = [&](int pass) {
        if (pass == 2) windows.foreground = kGame; // the user brings it forward
    };
    pickDestination(kGame);
    pickReturn(kEditor);

    press();

    ASSERT_EQ(keyboard.typed.size(), 1u);
    EXPECT_GT(frontRequests(kEditor), 1);
    EXPECT_EQ(windows.pushesPastRefusal, 1);
}

TEST_F(SendPipelineTest, AnEditedDestinationListSendsNowhere) {
    pickDestination(kGame);
    windows.foreground = kGame;
    combo_UO2.setText("chat"); // the user overwrites what the list shows
    sendtext.setText("abc");

    press();

    EXPECT_TRUE(keyboard.typed.empty());
    EXPECT_EQ(frontRequests(kGame), 0);
    EXPECT_EQ(frontRequests(kChat), 0);
}

TEST_F(SendPipelineTest, NothingPickedNeverFallsBackToTheRememberedGameClient) {
    // Discovery leaves the last game client's handle as the handle list's edit
    // text; with no pick, that window must still get nothing.
    Combo_hWnd.setText(std::to_string(kGame));
    windows.foreground = kGame;
    sendtext.setText("secret");

    press();

    EXPECT_TRUE(keyboard.typed.empty());
    EXPECT_EQ(events.passes, kPassBudget);
    EXPECT_TRUE(windows.frontRequests.empty());
}

TEST_F(SendPipelineTest, NothingPickedAsReturnWindowTypesThenSpendsTheRest) {
    pickDestination(kChat);
    chk_uo.setValue(1);
    ASSERT_EQ(combo_UO.listIndex(), -1);

    press();

    EXPECT_EQ(keyboard.typed.size(), 1u);
    EXPECT_EQ(events.passes, kPassBudget);
    EXPECT_EQ(windows.frontRequests.size(), 1u);
    EXPECT_EQ(windows.foreground, kChat);
}

TEST_F(SendPipelineTest, UnreadableHandleCountsAsNotInFront) {
    controls::ComboBox* lists[] = {&combo_UO2, &combo_UO};
    for (const char* text : {"", "abc", "12x", "0"}) {
        SCOPED_TRACE(text);
        for (auto* list : lists)
            list->clear();
        Combo_hWnd.clear();
        for (auto* list : lists)
            list->addItem("broken");
        Combo_hWnd.addItem(text);
        combo_UO2.setListIndex(0);
        events.passes = 0;
        windows.foreground = 0;

        press();

        EXPECT_TRUE(keyboard.typed.empty());
        EXPECT_EQ(events.passes, kPassBudget);
    }
}

TEST_F(SendPipelineTest, ReturnSwitchDecidesWhetherTheReturnWindowComesBack) {
    struct Case {
        int value;
        WindowHandle finallyInFront;
    } cases[] = {{1, kEditor}, {0, kChat}, {2, kChat}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        pickDestination(kChat);
        combo_UO.setListIndex(position(kEditor));
        chk_uo.setValue(c.value);
        windows.foreground = 0;

        press();

        EXPECT_EQ(windows.foreground, c.finallyInFront);
    }
}

TEST_F(SendPipelineTest, SameWindowInBothListsEndsTheReturnWaitAtOnce) {
    pickDestination(kGame);
    pickReturn(kGame);

    press();

    EXPECT_EQ(keyboard.typed.size(), 1u);
    EXPECT_EQ(events.passes, 0);
    EXPECT_EQ(platform.log.withPrefix("bringToFront").size(), 2u);
}

TEST_F(SendPipelineTest, MalformedTextTypesNothingButTheReturnWindowComesBack) {
    pickDestination(kChat);
    pickReturn(kEditor);
    sendtext.setText("{abc");

    press();

    EXPECT_TRUE(keyboard.typed.empty());
    EXPECT_EQ(windows.foreground, kEditor);
}

TEST_F(SendPipelineTest, InterruptedTypingStillBringsTheReturnWindowBack) {
    keyboard.result = services::TypeResult::Interrupted;
    pickDestination(kChat);
    pickReturn(kEditor);
    sendtext.setText("hello");

    press();

    EXPECT_EQ(keyboard.typed.size(), 1u);
    EXPECT_EQ(windows.foreground, kEditor);
}

TEST_F(SendPipelineTest, EnterInTheSendBoxSendsOtherKeysDoNot) {
    pickDestination(kChat);
    sendtext.setText("typed by hand");

    for (int key : {65, 10, 27, 9, 113})
        sendtext.pressKey(key, 0);
    EXPECT_TRUE(platform.log.entries().empty());

    sendtext.pressKey(13, controls::kShiftKey);
    ASSERT_EQ(keyboard.typed.size(), 1u);
    EXPECT_EQ(keyboard.typed[0].keys, keysFor("typed by hand"));
}

TEST_F(SendPipelineTest, AnyMouseButtonOnTheSendButtonRunsThePipeline) {
    pickDestination(kChat);
    for (int button : {controls::kLeftButton, controls::kRightButton, controls::kMiddleButton})
        btn_Send.pressMouse({button});
    EXPECT_EQ(keyboard.typed.size(), 3u);
}

} // namespace
