#include "platform/backend/posix/iconv_text_codec.h"

#include <gtest/gtest.h>

#include <string>

using tavren::backend::posix::IconvTextCodec;

namespace {

struct Conversion {
    const char* what;
    std::string cp932;
    std::string utf8;
};

// ctest names each case by what this prints (gtest would print the struct's bytes).
void PrintTo(const Conversion& c, std::ostream* out) {
    *out << c.what;
}

class IconvTextCodecTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(IconvTextCodecTest, ConvertsReplacingWhatItCannotDecode) {
    IconvTextCodec codec;
    EXPECT_EQ(codec.legacyToUtf8(GetParam().cp932), GetParam().utf8) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, IconvTextCodecTest,
    ::testing::Values(Conversion{"empty", "", ""},
                      Conversion{"ascii with backslash", "a\\b 1", "a\\b 1"},
                      Conversion{"hiragana", "\x82\xa0\x82\xa2", "あい"},
                      Conversion{"half-width katakana", "\xb1", "ｱ"},
                      Conversion{"vendor extension (circled one)", "\x87\x40", "①"},
                      Conversion{"full-width yen", "\x81\x8f", "￥"},
                      // What is not CP932 becomes U+FFFD, and nothing else is lost.
                      Conversion{"cut-off double byte", "abc\x82", "abc\uFFFD"},
                      Conversion{"unassigned pair is one bad character", "\x85\x40z", "\uFFFDz"},
                      Conversion{"bad trail byte stays a character", "\x82\x20", "\uFFFD "},
                      Conversion{"a lead byte never swallows a line end", "a\x82\r\nb",
                                 "a\uFFFD\r\nb"},
                      Conversion{"unassigned single byte", "\xa0\x82\xa0", "\uFFFDあ"},
                      Conversion{"every byte bad", "\xff\xff\xff", "\uFFFD\uFFFD\uFFFD"}));

} // namespace
