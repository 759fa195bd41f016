#include "board/order_file.h"

#include <gtest/gtest.h>

using namespace tavren::board;
using tavren::controls::Colour;

TEST(OrderLinesTest, EndAtCrOrCrLfButNotAtALoneLf) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(splitOrderLines(""), V{});
    EXPECT_EQ(splitOrderLines("a"), V{"a"});
    EXPECT_EQ(splitOrderLines("a\r"), V{"a"});
    EXPECT_EQ(splitOrderLines("a\r\nb"), (V{"a", "b"}));
    EXPECT_EQ(splitOrderLines("a\r\rb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(splitOrderLines("a\nb\nc"), V{"a\nb\nc"});
    EXPECT_EQ(splitOrderLines("\r\n\r\n"), (V{"", ""}));
}

TEST(ColourFieldTest, ReadsRedGreenBlueHexPairs) {
    struct Case {
        const char* field;
        std::optional<Colour> colour;
    };
    const Case cases[] = {
        {"FF0000", 0x0000FF},     // pure red
        {"0000ff", 0xFF0000},     // pure blue, lower case digits
        {"123456,789", 0x563412}, // only the first six characters count
        {"FF00F", 0x0F00FF},      // a pair cut to one digit is that digit: blue 15
        {"FF00", std::nullopt},   // an empty pair
        {"", std::nullopt},         {"GG0000", std::nullopt}, {"F 0000", std::nullopt},
        {"ＦＦ0000", std::nullopt}, // full-width letters are not hex digits
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseColourField(c.field), c.colour) << c.field;
}

TEST(OrderLineTest, CaptionStopsAtTheFirstComma) {
    auto plain = parseOrderLine("攻撃開始！");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->caption, "攻撃開始！");
    EXPECT_FALSE(plain->colour);

    auto coloured = parseOrderLine("撤退,FF0000,extra");
    ASSERT_TRUE(coloured);
    EXPECT_EQ(coloured->caption, "撤退");
    EXPECT_EQ(coloured->colour, Colour{0x0000FF});

    EXPECT_FALSE(parseOrderLine("trailing comma,"));
    EXPECT_TRUE(parseOrderLine(std::string(32765, 'x') + ",FF0000"));  // comma at 32766
    EXPECT_FALSE(parseOrderLine(std::string(32766, 'x') + ",FF0000")); // comma at 32767
    // Positions count characters, not bytes.
    std::string japanese;
    for (int i = 0; i < 30000; ++i)
        japanese += "あ"; // 90000 bytes, 30000 characters
    EXPECT_TRUE(parseOrderLine(japanese + ",000000"));
}

TEST(DirectiveTest, PatternsMatchWithoutRegardToCase) {
    struct Case {
        const char* line;
        std::optional<DirectiveKind> kind;
        int digit;
        bool on;
    };
    const Case cases[] = {
        {"*ButtonT=6", DirectiveKind::Rows, 6, false},
        {"*buttont=6", DirectiveKind::Rows, 6, false},
        {"#ButtonY=3", DirectiveKind::Columns, 3, false}, // any first character
        {"*ButtonT=6 ", std::nullopt, -1, false},         // eleven characters: a comment
        {"*ButtonT=x", DirectiveKind::Rows, -1, false},   // not a digit: does nothing
        {"*ButtonT=６", DirectiveKind::Rows, -1, false},  // only ASCII digits count
        {"*TOP=on", DirectiveKind::AlwaysOnTop, -1, true},
        {"*top=ONLINE", DirectiveKind::AlwaysOnTop, -1, true},
        {"*TOP=off", DirectiveKind::AlwaysOnTop, -1, false},
        {"*TOP=", DirectiveKind::AlwaysOnTop, -1, false},
        {"*TOP=o", DirectiveKind::AlwaysOnTop, -1, false},
        {"*nick=On", DirectiveKind::NickWindow, -1, true},
        {"*nick=yes", DirectiveKind::NickWindow, -1, false},
        {"*servername=irc.example", DirectiveKind::ServerName, -1, false},
        {"* comment", std::nullopt, -1, false},
        {"*", std::nullopt, -1, false},
    };
    for (const Case& c : cases) {
        const auto d = parseDirective(c.line);
        ASSERT_EQ(d.has_value(), c.kind.has_value()) << c.line;
        if (!d) continue;
        EXPECT_EQ(d->kind, *c.kind) << c.line;
        if (d->kind == DirectiveKind::Rows || d->kind == DirectiveKind::Columns) {
            EXPECT_EQ(d->digit, c.digit) << c.line;
        } else if (d->kind != DirectiveKind::ServerName) {
            EXPECT_EQ(d->on, c.on) << c.line;
        }
    }
    EXPECT_EQ(parseDirective("*servername=irc.example")->serverName, "irc.example");
    EXPECT_EQ(parseDirective("*SERVERNAME=")->serverName, "");
    EXPECT_EQ(parseDirective("*servername=日本,サーバ")->serverName, "日本,サーバ");
}

TEST(WildcardTest, MatchesWholeCharacters) {
    EXPECT_TRUE(wildcardMatch("[JP] ultima ONLINE - Taro", "*Ultima Online*"));
    EXPECT_FALSE(wildcardMatch("UltimaOnline", "*Ultima Online*"));
    EXPECT_TRUE(wildcardMatch("あButtonT=5", "?ButtonT=?"));
    EXPECT_FALSE(wildcardMatch("ButtonT=5", "?ButtonT=?"));
    EXPECT_TRUE(wildcardMatch("", "*"));
    EXPECT_TRUE(wildcardMatch("a*b", "a*b"));
}

TEST(DecodeOrderFileTest, Utf8AsItIsOtherwiseTheLegacyCodePage) {
    const auto legacy = [](const std::string&) { return std::string("converted"); };
    EXPECT_EQ(decodeOrderFile("攻撃\r", false, legacy), "攻撃\r");
    EXPECT_EQ(decodeOrderFile("plain\r\n", false, legacy), "plain\r\n");
    EXPECT_EQ(decodeOrderFile("\x8d\x55\x8c\x82", false, legacy), "converted");
    // A read cut at the limit drops the cut line, even when it splits a character.
    EXPECT_EQ(decodeOrderFile("ok\r\n\xe6\x94", true, legacy), "ok\r");
    EXPECT_EQ(decodeOrderFile("no line end", true, legacy), "");
}

TEST(DecodeOrderFileTest, AByteOrderMarkIsNoPartOfTheFirstLine) {
    const auto legacy = [](const std::string&) { return std::string("converted"); };
    EXPECT_EQ(decodeOrderFile("\xEF\xBB\xBF攻撃\r\n撤退", false, legacy), "攻撃\r\n撤退");
    EXPECT_EQ(decodeOrderFile("\xEF\xBB\xBF", false, legacy), "");
    // Only at the very start: elsewhere it is a character of its line.
    EXPECT_EQ(decodeOrderFile("a\r\xEF\xBB\xBF", false, legacy), "a\r\xEF\xBB\xBF");
    // A marked file is UTF-8 even when a line is damaged.
    EXPECT_EQ(decodeOrderFile("\xEF\xBB\xBFok\r\xff", false, legacy), "ok\r\xEF\xBF\xBD");
}

TEST(DecodeOrderFileTest, ABadByteInAUtf8FileSpoilsOnlyItsOwnLine) {
    const auto legacy = [](const std::string&) { return std::string("converted"); };
    EXPECT_EQ(decodeOrderFile("攻撃\r\nbad\xff\xfe\r\n撤退", false, legacy),
              "攻撃\r\nbad\xEF\xBF\xBD\xEF\xBF\xBD\r\n撤退");
    // Mostly legacy lines: the legacy code page decides.
    EXPECT_EQ(decodeOrderFile("\x8d\x55\r\n\x93\x50\r\n攻撃", false, legacy), "converted");
}

TEST(DecodeOrderFileTest, LegacyTextIsReadAsLegacyTextLineByLine) {
    EXPECT_FALSE(readsAsUtf8("\x8d\x55\x8c\x82\r\n\x93\x50\x91\xde"));
    EXPECT_FALSE(readsAsUtf8("\x8d\x55\r\n攻撃"));      // one each: not mostly UTF-8
    EXPECT_TRUE(readsAsUtf8("\x8d\x55\r\n攻撃\r撤退")); // two UTF-8 lines to one other
    EXPECT_TRUE(readsAsUtf8("ascii\r\nonly"));
    EXPECT_TRUE(readsAsUtf8(""));
}
