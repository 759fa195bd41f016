#include "delivery/send_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tavren::delivery::kMaxGroupDepth;
using tavren::delivery::parseSendKeys;
using namespace tavren::services;

namespace {

KeyStroke ch(char32_t c, std::uint8_t mods = kNoModifier) {
    return KeyStroke::text(c, mods);
}
KeyStroke key(NamedKey k, std::uint8_t mods = kNoModifier) {
    return KeyStroke::key(k, mods);
}

KeySequence repeated(const KeyStroke& stroke, int n) {
    return KeySequence(n, stroke);
}

struct ValidCase {
    std::string name;
    std::string text;
    KeySequence expected;
};

// ctest names each case by what this prints (gtest would print the struct's bytes).
void PrintTo(const ValidCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text);
}

class ValidSendKeys : public testing::TestWithParam<ValidCase> {};

TEST_P(ValidSendKeys, ParsesToTheExpectedStrokes) {
    const auto& c = GetParam();
    const auto parsed = parseSendKeys(c.text);
    ASSERT_TRUE(parsed.has_value()) << c.text;
    EXPECT_EQ(*parsed, c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, ValidSendKeys,
    testing::Values(
        ValidCase{"Empty", "", {}}, ValidCase{"PlainLetters", "abc", {ch('a'), ch('b'), ch('c')}},
        ValidCase{
            "PipelineLineBreakIsOneEnter", "ab\r\n", {ch('a'), ch('b'), key(NamedKey::Enter)}},
        ValidCase{"LoneLineFeedTypesNothing", "a\nb", {ch('a'), ch('b')}},
        ValidCase{"TildeIsEnter", "a~b", {ch('a'), key(NamedKey::Enter), ch('b')}},
        ValidCase{"TabCharacterIsTabKey", "\t", {key(NamedKey::Tab)}},
        ValidCase{"ShiftNextKeyOnly", "+ab", {ch('a', kShift), ch('b')}},
        ValidCase{"ControlAndAlt", "^c%f", {ch('c', kControl), ch('f', kAlt)}},
        ValidCase{"ModifiersCombine", "+^%x", {ch('x', kShift | kControl | kAlt)}},
        ValidCase{"ModifierOnEnter", "^~", {key(NamedKey::Enter, kControl)}},
        ValidCase{"ModifierOnGroup", "+(ab)c", {ch('a', kShift), ch('b', kShift), ch('c')}},
        ValidCase{"NestedGroups",
                  "^(a+(b)c)",
                  {ch('a', kControl), ch('b', kControl | kShift), ch('c', kControl)}},
        ValidCase{"BareGroup", "(ab)", {ch('a'), ch('b')}}, ValidCase{"EmptyBareGroup", "()", {}},
        ValidCase{"NamedKeysIgnoreCase",
                  "{enter}{Tab}{bs}{BkSp}{BACKSPACE}",
                  {key(NamedKey::Enter), key(NamedKey::Tab), key(NamedKey::Backspace),
                   key(NamedKey::Backspace), key(NamedKey::Backspace)}},
        ValidCase{"EditingKeys",
                  "{DEL}{DELETE}{INS}{INSERT}{HOME}{END}{PGUP}{PGDN}",
                  {key(NamedKey::Delete), key(NamedKey::Delete), key(NamedKey::Insert),
                   key(NamedKey::Insert), key(NamedKey::Home), key(NamedKey::End),
                   key(NamedKey::PageUp), key(NamedKey::PageDown)}},
        ValidCase{"ArrowsAndLocks",
                  "{UP}{DOWN}{LEFT}{RIGHT}{ESC}{BREAK}{CAPSLOCK}{NUMLOCK}"
                  "{SCROLLLOCK}{PRTSC}{HELP}",
                  {key(NamedKey::Up), key(NamedKey::Down), key(NamedKey::Left),
                   key(NamedKey::Right), key(NamedKey::Escape), key(NamedKey::Break),
                   key(NamedKey::CapsLock), key(NamedKey::NumLock), key(NamedKey::ScrollLock),
                   key(NamedKey::PrintScreen), key(NamedKey::Help)}},
        ValidCase{"FunctionKeys",
                  "{F1}{f9}{F10}{F16}",
                  {key(NamedKey::F1), key(NamedKey::F9), key(NamedKey::F10), key(NamedKey::F16)}},
        ValidCase{"KeypadOperators",
                  "{ADD}{SUBTRACT}{MULTIPLY}{DIVIDE}",
                  {key(NamedKey::KeypadAdd), key(NamedKey::KeypadSubtract),
                   key(NamedKey::KeypadMultiply), key(NamedKey::KeypadDivide)}},
        ValidCase{"QuotedSyntaxCharacters",
                  "{~}{+}{^}{%}{(}{)}{{}{}}{[}{]}",
                  {ch('~'), ch('+'), ch('^'), ch('%'), ch('('), ch(')'), ch('{'), ch('}'), ch('['),
                   ch(']')}},
        ValidCase{"BracketsNeedNoQuoting", "[x]", {ch('['), ch('x'), ch(']')}},
        ValidCase{"RepeatedNamedKey", "{LEFT 3}", repeated(key(NamedKey::Left), 3)},
        ValidCase{"RepeatedCharacter", "{h 10}", repeated(ch('h'), 10)},
        ValidCase{"RepeatedQuotedBrace", "{} 2}", repeated(ch('}'), 2)},
        ValidCase{"RepeatedSpace", "{  3}", repeated(ch(' '), 3)},
        ValidCase{"QuotedSpace", "{ }", {ch(' ')}},
        ValidCase{"RepeatLimitIsAccepted", "{x 255}", repeated(ch('x'), 255)},
        ValidCase{"RepeatZeroTypesNothing", "{x 0}", {}},
        ValidCase{"ModifierHeldForEveryRepeat", "+{LEFT 2}",
                  repeated(key(NamedKey::Left, kShift), 2)},
        ValidCase{
            "Japanese", "攻撃開始！", {ch(U'攻'), ch(U'撃'), ch(U'開'), ch(U'始'), ch(U'！')}},
        ValidCase{"FullWidthAtAndYen", "＠￥", {ch(U'＠'), ch(U'￥')}},
        ValidCase{"BracedJapaneseRepeated", "{あ 2}", repeated(ch(U'あ'), 2)},
        ValidCase{"FourByteCharacter", "😀", {ch(U'😀')}},
        ValidCase{"AccentedLetters", "é", {ch(U'é')}}),
    [](const testing::TestParamInfo<ValidCase>& info) { return info.param.name; });

struct MalformedCase {
    std::string name;
    std::string text;
};

void PrintTo(const MalformedCase& c, std::ostream* out) {
    *out << testing::PrintToString(c.text);
}

class MalformedSendKeys : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedSendKeys, FailsAsAWhole) {
    EXPECT_EQ(parseSendKeys(GetParam().text), std::nullopt) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Syntax, MalformedSendKeys,
    testing::Values(
        MalformedCase{"UnclosedBrace", "abc{ENTER"}, MalformedCase{"LoneOpeningBrace", "{"},
        MalformedCase{"EmptyBraces", "{}"}, MalformedCase{"StrayClosingBrace", "ab}c"},
        MalformedCase{"UnclosedGroup", "+(abc"}, MalformedCase{"StrayClosingParenthesis", "ab)c"},
        MalformedCase{"UnknownKeyName", "{ENTR}"}, MalformedCase{"FunctionKeyBeyondF16", "{F17}"},
        MalformedCase{"FunctionKeyLeadingZero", "{F01}"},
        MalformedCase{"RepeatBeyondLimit", "{LEFT 256}"},
        MalformedCase{"HugeRepeat", "{h 99999999999999999999}"},
        MalformedCase{"RepeatWithoutName", "{ 3}"}, MalformedCase{"TrailingModifier", "abc+"},
        MalformedCase{"ModifierBeforeClosingParenthesis", "(a+)"},
        MalformedCase{"ModifierOnEmptyGroup", "+()"}, MalformedCase{"ModifierOnLineFeed", "+\n"},
        MalformedCase{"InvalidUtf8", "a\xff"}, MalformedCase{"TruncatedUtf8", "\xe6\x94"},
        MalformedCase{"OverlongUtf8", "\xc0\xaf"},
        MalformedCase{"EncodedSurrogate", "\xed\xa0\x80"},
        MalformedCase{"InvalidUtf8InBraces", "{\xff}"},
        MalformedCase{"ControlCharacter", std::string("a\x01")},
        MalformedCase{"NulCharacter", std::string("a\0b", 3)},
        MalformedCase{"TwoCharactersInBraces", "{ab}"}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return info.param.name; });

TEST(SendKeysTest, MalformedTailDiscardsTheValidHead) {
    // Nothing of a broken string may be typed, not even the part before the fault.
    EXPECT_EQ(parseSendKeys("hello world {"), std::nullopt);
    EXPECT_TRUE(parseSendKeys("hello world {{}").has_value());
}

std::string nested(const std::string& open, int depth, const std::string& inner) {
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += open;
    return text + inner + std::string(static_cast<std::size_t>(depth), ')');
}

TEST(SendKeysTest, GroupsNestedToTheLimitStillType) {
    EXPECT_EQ(parseSendKeys(nested("(", kMaxGroupDepth, "a")), (KeySequence{ch('a')}));
    EXPECT_EQ(parseSendKeys(nested("+(", kMaxGroupDepth, "a")), (KeySequence{ch('a', kShift)}));
}

TEST(SendKeysTest, GroupsNestedBeyondTheLimitAreMalformed) {
    EXPECT_EQ(parseSendKeys(nested("(", kMaxGroupDepth + 1, "a")), std::nullopt);
    EXPECT_EQ(parseSendKeys(nested("^(", kMaxGroupDepth + 1, "a")), std::nullopt);
}

TEST(SendKeysTest, TensOfThousandsOfOpenParenthesesAreMalformedNotACrash) {
    // As long as an order file line may be: far deeper than any stack allows.
    EXPECT_EQ(parseSendKeys(std::string(60000, '(')), std::nullopt);
    EXPECT_EQ(parseSendKeys(nested("(", 60000, "a")), std::nullopt);
    EXPECT_EQ(parseSendKeys(nested("+(", 40000, "a")), std::nullopt);
}

} // namespace
