#include "text/ascii_case.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

using namespace tavren::text;

TEST(Utf8Test, RejectsOverlongSurrogatesAndTruncatedSequences) {
    EXPECT_TRUE(isValidUtf8("plain ＠ 攻撃 😀"));
    EXPECT_FALSE(isValidUtf8("\xc0\xaf"));
    EXPECT_FALSE(isValidUtf8("\xed\xa0\x80"));
    EXPECT_FALSE(isValidUtf8("\xe6\x94"));
    EXPECT_FALSE(isValidUtf8("\x82\xa0"));
    EXPECT_FALSE(isValidUtf8("\xf4\x90\x80\x80")); // beyond U+10FFFF
}

TEST(Utf8Test, ReplacesEachUndecodableByteAndKeepsTheRest) {
    const std::string r(kReplacementCharacter);
    EXPECT_EQ(replacingInvalidBytes("攻撃"), "攻撃");
    EXPECT_EQ(replacingInvalidBytes("a\xff"
                                    "b"),
              "a" + r + "b");
    EXPECT_EQ(replacingInvalidBytes("\xe6\x94\r\n"), r + r + "\r\n"); // a cut character
    EXPECT_EQ(replacingInvalidBytes("\xc0\xaf"), r + r);
    EXPECT_TRUE(isValidUtf8(replacingInvalidBytes("\x80\xbf\xfe\xed\xa0\x80 x")));
}

TEST(Utf8Test, SplitsIntoCharacters) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(utf8Characters("a攻😀"), (V{"a", "攻", "😀"}));
    EXPECT_EQ(utf8Characters("\x80"
                             "b"),
              (V{"\x80", "b"}));
    EXPECT_EQ(utf8Characters("\xe6\x94"), (V{"\xe6\x94"}));
}

TEST(Utf8Test, CutsOnlyBetweenCharacters) {
    const std::string a = "\xE3\x81\x82"; // one three-byte character
    struct Case {
        std::string value;
        std::size_t limit;
        std::string expected;
    };
    const Case cases[] = {
        {"abc", 3, "abc"},
        {"abcd", 3, "abc"},
        {a + a, 4, a},
        {a + a, 5, a},
        {a + a, 6, a + a},
        {"x" + a, 2, "x"},
        {"\xF0\x9F\x98\x80z", 3, ""},                    // a four-byte character
        {"\x80\x80\x80\x80\x80", 4, "\x80\x80\x80\x80"}, // not UTF-8: cut at the limit
    };
    for (const auto& c : cases)
        EXPECT_EQ(cutOnCharacterBoundary(c.value, c.limit), c.expected) << c.value;
}

TEST(AsciiCaseTest, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(asciiLower("ButtonGAP ＡÄ"), "buttongap ＡÄ");
    EXPECT_TRUE(equalsIgnoringAsciiCase("ButtonGap", "buttonGAP"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("Button", "Buttons"));
    EXPECT_FALSE(equalsIgnoringAsciiCase("Ａ", "ａ"));
}
