// What typing an order comes to on Windows before anything is sent: which
// virtual keys and which characters, with which modifiers around them.
#include "delivery/send_keys.h"
#include "platform/backend/win32/typing_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace tavren::backend::win32 {
namespace {

// The US layout's answers for the characters the cases use.
class UsLayout : public KeyboardLayout {
public:
    std::optional<LayoutKey> keyOf(char32_t c) const override {
        if (c >= U'a' && c <= U'z') return LayoutKey{static_cast<BYTE>('A' + (c - U'a')), 0};
        if (c >= U'A' && c <= U'Z')
            return LayoutKey{static_cast<BYTE>('A' + (c - U'A')), services::kShift};
        if (c == U'1') return LayoutKey{'1', 0};
        if (c == U'!') return LayoutKey{'1', services::kShift};
        return std::nullopt;
    }
    char32_t shifted(char32_t c) const override {
        if (c >= U'a' && c <= U'z') return U'A' + (c - U'a');
        return c == U'1' ? U'!' : c;
    }
};

std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// The plan as a line: modifiers before a key or a character with "+",
// characters as "text X", virtual keys by name.
std::string describe(const TypingPlan& plan) {
    const std::map<std::uint8_t, std::string> names = {
        {VK_SHIFT, "Shift"}, {VK_CONTROL, "Ctrl"}, {VK_MENU, "Alt"}, {VK_RETURN, "Return"},
        {VK_TAB, "Tab"},     {VK_LEFT, "Left"},    {'1', "1"},       {'C', "C"}};
    std::string line;
    for (const TypingStep& step : plan.steps) {
        if (!line.empty()) line += ", ";
        const auto* key = std::get_if<Key>(&step);
        for (const std::uint8_t modifier :
             key ? key->modifiers : std::get<Character>(step).modifiers)
            line += names.at(modifier) + "+";
        if (key)
            line += names.at(key->virtualKey) + (key->extended ? "(E0)" : "");
        else
            line += "text " + utf8(std::get<Character>(step).character);
    }
    return line;
}

struct PlanCase {
    std::string keys; // in the key syntax
    std::string expected;
};

void PrintTo(const PlanCase& c, std::ostream* out) {
    *out << ::testing::PrintToString(c.keys);
}

class Win32TypingPlan : public ::testing::TestWithParam<PlanCase> {};

TEST_P(Win32TypingPlan, OnTheUsLayout) {
    const auto keys = delivery::parseSendKeys(GetParam().keys);
    ASSERT_TRUE(keys);

    const TypingPlan plan = planTyping(*keys, UsLayout());

    ASSERT_TRUE(plan.possible());
    EXPECT_EQ(describe(plan), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, Win32TypingPlan,
                         ::testing::Values(
                             // Text, whatever the case, goes as the characters themselves.
                             PlanCase{"Hi!", "text H, text i, text !"},
                             // Shift makes a character the one its key gives with Shift.
                             PlanCase{"+a+1+攻", "text A, text !, text 攻"},
                             // With Ctrl or Alt a character is a shortcut: its key, with the
                             // modifiers the layout needs for it besides.
                             PlanCase{"^c^+c^!", "Ctrl+C, Shift+Ctrl+C, Shift+Ctrl+1"},
                             // A character the layout has no key for stays text, the modifier held.
                             PlanCase{"^あ", "Ctrl+text あ"},
                             PlanCase{"%{TAB}{LEFT}~", "Alt+Tab, Left(E0), Return"},
                             PlanCase{"a😀", "text a, text 😀"}));

// A key Windows has no virtual key for: nothing is typed, not even the keys
// before it.
TEST(Win32TypingPlanRefused, AKeyWithoutAVirtualKeyRefusesTheWholeOrder) {
    const services::KeySequence keys = {services::KeyStroke::text(U'a'),
                                        services::KeyStroke::key(services::NamedKey{200})};

    const TypingPlan plan = planTyping(keys, UsLayout());

    EXPECT_EQ(plan.impossible, Impossible::NoVirtualKey);
    EXPECT_EQ(describe(plan), "");
}

} // namespace
} // namespace tavren::backend::win32
