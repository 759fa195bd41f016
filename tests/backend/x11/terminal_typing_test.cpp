// Typing into windows that cannot tell when they have read their keys: an
// xterm (no _NET_WM_PING; terminal IRC clients run in one) and a window that
// does not answer its ping, both of them also stopped for a moment while the
// keys arrive. Every character must arrive as itself or the order must not be
// reported as typed.
#include <gtest/gtest.h>

#include "backend/x11/desktop.h"
#include "backend/x11/typing_texts.h"
#include "delivery/send_keys.h"
#include "platform/backend/x11/x11_keyboard.h"

#include <signal.h>

#include <atomic>
#include <string>
#include <thread>

using namespace tavren;
using namespace std::chrono_literals;
using services::TypeResult;
using x11test::Desktop;
using x11test::SpawnedWindow;

namespace {

TypeResult typeLine(backend::x11::X11Keyboard& keyboard, Window target, const std::string& text) {
    const auto keys = delivery::parseSendKeys(text + "\r\n");
    if (!keys) return TypeResult::Failed;
    return keyboard.type(static_cast<services::WindowHandle>(target), *keys);
}

// Stops a program once its log has grown to `afterBytes`, for `pause`, then
// lets it go on: a terminal that is late for a moment in the middle of an order.
class MomentaryStop {
public:
    MomentaryStop(const SpawnedWindow& program, std::string log, std::size_t afterBytes,
                  std::chrono::milliseconds pause)
        : thread_([this, pid = program.pid(), log = std::move(log), afterBytes, pause] {
              Desktop::waitForFile(
                  log, [&](const std::string& s) { return done_ || s.size() >= afterBytes; }, 60s);
              kill(pid, SIGSTOP);
              stopped_ = true;
              std::this_thread::sleep_for(pause);
              kill(pid, SIGCONT);
          }) {}
    ~MomentaryStop() {
        done_ = true;
        thread_.join();
    }
    bool stopped() const { return stopped_; }

private:
    std::atomic<bool> done_{false};
    std::atomic<bool> stopped_{false};
    std::thread thread_;
};

class TerminalTypingTest : public ::testing::Test {
protected:
    Desktop desktop;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger};

    std::string log(const std::string& name) const { return desktop.directory() + "/" + name; }
};

TEST_F(TerminalTypingTest, HundredLongLinesArriveExactlyInXterm) {
    const auto term = desktop.startTerminal(log("term.log"), "Reader Term");
    ASSERT_TRUE(term);
    const auto before = desktop.keyboardMapping();
    std::string expected;
    for (int line = 0; line < 100; ++line) {
        const std::string text = x11test::mixedJapaneseLine(line, 60);
        ASSERT_EQ(typeLine(keyboard, term->window(), text), TypeResult::Typed) << line;
        expected += text + "\n";
    }
    EXPECT_EQ(
        Desktop::waitForFile(log("term.log"),
                             [&](const std::string& s) { return s.size() >= expected.size(); }),
        expected);
    // The bound keycodes are given back once the idle time has passed.
    EXPECT_TRUE(desktop.keyboardMappingBecomes(before));
}

// Spare keycodes bound at their third and fourth levels, typed with AltGr and
// Shift+AltGr: xterm reads each as its character.
TEST_F(TerminalTypingTest, CharactersAtAllFourLevelsArriveExactly) {
    const auto term = desktop.startTerminal(log("term.log"), "Level Term");
    ASSERT_TRUE(term);
    const std::string text = x11test::fourLevelsOfCharacters();
    const std::string expected = text + "\n";

    ASSERT_EQ(typeLine(keyboard, term->window(), text), TypeResult::Typed);

    EXPECT_EQ(
        Desktop::waitForFile(log("term.log"),
                             [&](const std::string& s) { return s.size() >= expected.size(); }),
        expected);
}

struct StopCase {
    std::size_t afterBytes;
    std::chrono::milliseconds pause;
};

// ctest names each case by what this prints (gtest would print the struct's bytes).
void PrintTo(const StopCase& c, std::ostream* out) {
    *out << "stopped after " << c.afterBytes << " bytes for " << c.pause.count() << " ms";
}

class StoppedTerminal : public TerminalTypingTest,
                        public ::testing::WithParamInterface<StopCase> {};

// More distinct characters than the spare keycodes hold: the bindings change
// in the middle of the order, while the terminal may not have read the keys.
TEST_P(StoppedTerminal, AManyCharacterOrderArrivesExactly) {
    const auto term = desktop.startTerminal(log("term.log"), "Stopped Term");
    ASSERT_TRUE(term);
    const std::string text = x11test::manyDistinctCharacters(200);
    const std::string expected = text + "\n";
    MomentaryStop stop(*term, log("term.log"), GetParam().afterBytes, GetParam().pause);

    ASSERT_EQ(typeLine(keyboard, term->window(), text), TypeResult::Typed);

    EXPECT_EQ(Desktop::waitForFile(
                  log("term.log"),
                  [&](const std::string& s) { return s.size() >= expected.size(); }, 20s),
              expected);
    EXPECT_TRUE(stop.stopped());
}

INSTANTIATE_TEST_SUITE_P(Pauses, StoppedTerminal,
                         ::testing::Values(StopCase{0, 100ms}, StopCase{150, 150ms},
                                           StopCase{300, 300ms}),
                         [](const ::testing::TestParamInfo<StopCase>& info) {
                             return "After" + std::to_string(info.param.afterBytes) + "BytesFor" +
                                    std::to_string(info.param.pause.count()) + "ms";
                         });

TEST_F(TerminalTypingTest, AShortOrderToAStoppedTerminalArrivesExactly) {
    const auto term = desktop.startTerminal(log("term.log"), "Late Term");
    ASSERT_TRUE(term);
    const std::string text = "突撃開始＠北門ｱｲｳ集合待機";
    kill(term->pid(), SIGSTOP);
    std::thread resume([&] {
        std::this_thread::sleep_for(200ms);
        kill(term->pid(), SIGCONT);
    });

    const auto result = typeLine(keyboard, term->window(), text);
    resume.join();

    ASSERT_EQ(result, TypeResult::Typed);
    EXPECT_EQ(Desktop::waitForFile(log("term.log"),
                                   [&](const std::string& s) { return s.find('\n') != s.npos; }),
              text + "\n");
}

TEST_F(TerminalTypingTest, AWindowThatDoesNotAnswerItsPingReceivesEveryCharacter) {
    const auto target = desktop.startTarget(log("qt.log"), "Silent Target");
    ASSERT_TRUE(target);
    const auto before = desktop.keyboardMapping();
    kill(target->pid(), SIGSTOP);
    std::thread resume([&] {
        std::this_thread::sleep_for(1500ms);
        kill(target->pid(), SIGCONT);
    });

    const auto result = typeLine(keyboard, target->window(), "攻撃開始abc");
    resume.join();

    ASSERT_EQ(result, TypeResult::Typed);
    EXPECT_EQ(Desktop::waitForFile(log("qt.log"), [](const std::string& s) { return !s.empty(); }),
              "攻撃開始abc\n");
    // The bound keycodes are given back once the idle time has passed.
    EXPECT_TRUE(desktop.keyboardMappingBecomes(before));
}

} // namespace
