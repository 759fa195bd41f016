// Closing the main window ends the program at once: once its unload has saved
// the settings, no keystroke, no command to the IRC client and no window
// brought forward leaves the program, whatever handler the close interrupted.
#include "app/main_window.h"
#include "fakes/fake_services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavren;

namespace {

constexpr services::WindowHandle kChat = 101;
constexpr services::WindowHandle kGame = 102;

struct EndingTest : ::testing::Test {
    fakes::FakePlatform platform;
    app::MainWindow window{platform.services()};
    app::MainForm& form = window.form();

    EndingTest() {
        platform.windowManager.windows = {{kChat, "chat", true}, {kGame, "game", true}};
        platform.files.files["tavren.txt"] = "attack,FF0000\r";
    }

    // The log from the settings' save on.
    std::vector<std::string> afterTheSave() const {
        const auto& entries = platform.log.entries();
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (entries[i].rfind("write", 0) == 0)
                return {entries.begin() + static_cast<long>(i), entries.end()};
        return {};
    }
    // Queues the user's close of the main window, to be seen by the next pass
    // of event processing.
    void closeAtTheNextPass() {
        platform.eventLoop.pending.push_back([this] { form.IRC_Quorvel.requestClose(); });
    }
};

} // namespace

TEST_F(EndingTest, AClosedWindowDuringAPressesFrontWaitTypesNothing) {
    window.open();
    form.combo_UO2.setListIndex(0); // chat
    form.combo_UO.setListIndex(1);  // game comes back afterwards
    form.chk_uo.setValue(1);
    platform.windowManager.requestsNeeded[kChat] = 3; // in front after two passes
    platform.log.clear();
    const int passesBefore = platform.eventLoop.passes;
    closeAtTheNextPass();

    form.tavren[0].pressMouse({controls::kLeftButton});

    EXPECT_EQ(afterTheSave(), (std::vector<std::string>{"write 17", "quit"}));
    EXPECT_TRUE(platform.keyboard.typed.empty());
    EXPECT_EQ(platform.eventLoop.passes, passesBefore + 1); // the wait stopped at the end
}

TEST_F(EndingTest, AClosedWindowDuringTheReturnWaitBringsNothingMoreForward) {
    window.open();
    form.combo_UO2.setListIndex(0);
    form.combo_UO.setListIndex(1);
    form.chk_uo.setValue(1);
    platform.windowManager.foreground = kChat;        // typed at once
    platform.windowManager.requestsNeeded[kGame] = 5; // the return window takes its time
    platform.log.clear();
    closeAtTheNextPass();

    form.tavren[0].pressMouse({controls::kLeftButton});

    ASSERT_EQ(platform.keyboard.typed.size(), 1u); // typed before the close
    EXPECT_EQ(afterTheSave(), (std::vector<std::string>{"write 17", "quit"}));
}

TEST_F(EndingTest, APressAfterTheEndDeliversNothing) {
    window.open();
    form.combo_UO2.setListIndex(0);
    platform.windowManager.foreground = kChat;
    ASSERT_TRUE(form.IRC_Quorvel.requestClose());
    platform.log.clear();

    form.sendtext.setText("late");
    form.sendtext.pressKey(13, 0);

    EXPECT_TRUE(platform.keyboard.typed.empty());
    EXPECT_TRUE(platform.log.entries().empty());
}

TEST_F(EndingTest, AnEndDuringStartUpsFirstPassStopsStartUp) {
    closeAtTheNextPass();

    window.open();

    EXPECT_EQ(afterTheSave(), (std::vector<std::string>{"write 17", "quit"}));
    EXPECT_TRUE(platform.log.withPrefix("open").empty());
    EXPECT_TRUE(platform.log.withPrefix("execute").empty());
    EXPECT_FALSE(form.IRC_Quorvel.visible());
}

TEST_F(EndingTest, AnEndDuringTheSettingsLoadersPassStopsStartUp) {
    platform.profile.set("Option", "chk_rename", "1"); // would show the nick window
    platform.profile.set("Option", "ButtonT", "3");
    // Start-up's own pass sees nothing; the loader's pass sees the close.
    platform.eventLoop.pending.push_back([] {});
    closeAtTheNextPass();

    window.open();

    EXPECT_EQ(afterTheSave(), (std::vector<std::string>{"write 17", "quit"}));
    EXPECT_TRUE(platform.log.withPrefix("open").empty());
    EXPECT_TRUE(platform.log.withPrefix("execute").empty());
    EXPECT_FALSE(window.nickForm().frm_nick.visible());
    EXPECT_FALSE(form.IRC_Quorvel.visible());
    EXPECT_EQ(window.board().rowCount(), 4); // the rest of the file is not applied
}
