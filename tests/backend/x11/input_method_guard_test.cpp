// How typing treats the input method between it and the window, with a
// recording input method whose switch keys type visible characters: where
// they land in the window's line shows where they were typed among the
// order's keys.
#include <gtest/gtest.h>

#include "backend/x11/desktop.h"
#include "backend/x11/physical_keyboard.h"
#include "delivery/send_keys.h"
#include "platform/backend/x11/input_method.h"
#include "platform/backend/x11/x11_keyboard.h"

#include <optional>
#include <string>
#include <vector>

using namespace tavren;
using services::TypeResult;
using x11test::Desktop;

namespace {

// Like fcitx5: the state of the focused input context, keys that turn it, and
// the bus for what has no key. Every call is noted in `calls`.
class RecordingInputMethod : public backend::x11::InputMethod {
public:
    bool runs = true;
    bool active = true;
    std::optional<backend::x11::InputMethodKey> directKey =
        backend::x11::InputMethodKey{"bracketleft"};
    std::optional<backend::x11::InputMethodKey> giveBackKey =
        backend::x11::InputMethodKey{"bracketright"};
    // What the give-back key's effect shows: handled, not handled, cannot tell.
    std::optional<bool> handled = true;
    std::vector<std::string> calls;
    unsigned long askedForWindow = 0;

    bool running() override {
        calls.push_back("running");
        return runs;
    }
    void catchUp() override { calls.push_back("catchUp"); }
    std::unique_ptr<Suspension> turnToDirectInput(unsigned long window) override {
        calls.push_back("turnToDirectInput");
        askedForWindow = window;
        if (!active) return nullptr;
        return std::make_unique<RecordingSuspension>(*this);
    }

private:
    class RecordingSuspension : public Suspension {
    public:
        explicit RecordingSuspension(RecordingInputMethod& owner) : owner_(owner) {}
        ~RecordingSuspension() override {
            owner_.calls.push_back(done_ ? "done" : "givenBackOverTheBus");
        }
        std::optional<backend::x11::InputMethodKey> directKey() const override {
            return turned_ ? std::nullopt : owner_.directKey;
        }
        void turnNow() override {
            turned_ = true;
            owner_.calls.push_back("turnedOverTheBus");
        }
        std::optional<backend::x11::InputMethodKey> giveBackKey() const override {
            return owner_.giveBackKey;
        }
        void givenBack() override {
            done_ = true;
            owner_.calls.push_back("givenBack");
        }
        std::optional<bool> tookEffect() override {
            owner_.calls.push_back("tookEffect");
            return owner_.handled;
        }
        void abandon() override {
            done_ = true;
            owner_.calls.push_back("abandon");
        }

    private:
        RecordingInputMethod& owner_;
        bool turned_ = false;
        bool done_ = false;
    };
};

class InputMethodGuard : public ::testing::Test {
protected:
    void SetUp() override {
        log = desktop.directory() + "/target.log";
        target = desktop.startTarget(log, "IM Guard Target");
        ASSERT_TRUE(target);
        ASSERT_TRUE(desktop.activate(target->window()));
    }

    TypeResult type(const std::string& text) {
        const auto keys = delivery::parseSendKeys(text);
        EXPECT_TRUE(keys);
        return keyboard.type(static_cast<services::WindowHandle>(target->window()), *keys);
    }

    std::string linesOnceThere(const std::string& expected) {
        return Desktop::waitForFile(
            log, [&](const std::string& s) { return s.size() >= expected.size(); });
    }

    Desktop desktop;
    RecordingInputMethod inputMethod;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger, &inputMethod};
    std::string log;
    std::unique_ptr<x11test::SpawnedWindow> target;
};

// The direct key goes before the order's first key and the give-back key
// after its last (the Enter): the window's next line starts with it.
TEST_F(InputMethodGuard, TheSwitchKeysEncloseTheOrder) {
    ASSERT_EQ(type("attack 北へ~"), TypeResult::Typed);
    ASSERT_EQ(type("go~"), TypeResult::Typed);
    EXPECT_EQ(linesOnceThere("[attack 北へ\n][go\n"), "[attack 北へ\n][go\n");
    EXPECT_EQ(inputMethod.askedForWindow, target->window());
    // Given back with its key, and seen to have taken effect: nothing over the bus.
    const std::vector<std::string> each = {"running", "turnToDirectInput", "givenBack",
                                           "tookEffect", "done"};
    std::vector<std::string> twice = each;
    twice.insert(twice.end(), each.begin(), each.end());
    EXPECT_EQ(inputMethod.calls, twice);
}

// An order the input method never shows it handled, while the window kept the
// focus, may have lost keys on the way: it is not reported as typed. One whose
// input method cannot tell is.
TEST_F(InputMethodGuard, AnOrderTheInputMethodNeverHandledIsNotReportedAsTyped) {
    inputMethod.handled = std::nullopt;
    EXPECT_EQ(type("one~"), TypeResult::Typed);
    inputMethod.handled = false;
    EXPECT_EQ(type("two~"), TypeResult::Failed);
    EXPECT_EQ(linesOnceThere("[one\n][two\n"), "[one\n][two\n");
}

TEST_F(InputMethodGuard, AnInactiveOrAbsentInputMethodIsLeftAlone) {
    inputMethod.active = false;
    ASSERT_EQ(type("one~"), TypeResult::Typed);
    inputMethod.runs = false;
    ASSERT_EQ(type("two~"), TypeResult::Typed);
    EXPECT_EQ(linesOnceThere("one\ntwo\n"), "one\ntwo\n");
    EXPECT_EQ(inputMethod.calls,
              (std::vector<std::string>{"running", "turnToDirectInput", "running"}));
}

// Without keys (or with names the server does not know) the state is turned
// over the bus before the order, and given back over it once the window and
// the input method caught up.
TEST_F(InputMethodGuard, WithoutKeysTheBusTurnsItAfterTheInputMethodCaughtUp) {
    inputMethod.directKey = backend::x11::InputMethodKey{"NoSuchKeysymName"};
    inputMethod.giveBackKey.reset();
    ASSERT_EQ(type("attack~"), TypeResult::Typed);
    EXPECT_EQ(linesOnceThere("attack\n"), "attack\n");
    EXPECT_EQ(inputMethod.calls,
              (std::vector<std::string>{"running", "turnToDirectInput", "turnedOverTheBus",
                                        "catchUp", "givenBackOverTheBus"}));
}

// An order refused before its first key leaves the input method unasked.
TEST_F(InputMethodGuard, AnOrderRefusedBeforeAnyKeyLeavesTheInputMethodAlone) {
    // Super held by the user would turn the order into shortcuts.
    TypeResult result;
    {
        testkeys::PhysicalKeyboard user;
        ASSERT_TRUE(user.hold("Super_L"));
        result = type("attack~");
    }
    EXPECT_EQ(result, TypeResult::Failed);
    EXPECT_EQ(inputMethod.calls, std::vector<std::string>{});
}

} // namespace
