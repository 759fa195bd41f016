#include "platform/posix/iconv_text_codec.h"

#include <gtest/gtest.h>

using tavren::posix::IconvTextCodec;

namespace {

struct Conversion {
    const char* what;
    std::string cp932;
    std::optional<std::string> utf8;
};

class IconvTextCodecTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(IconvTextCodecTest, ConvertsOrRefuses) {
    IconvTextCodec codec;
    EXPECT_EQ(codec.legacyToUtf8(GetParam().cp932), GetParam().utf8) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cp932, IconvTextCodecTest,
    ::testing::Values(Conversion{"empty", "", std::string()},
                      Conversion{"ascii with backslash", "a\\b 1", std::string("a\\b 1")},
                      Conversion{"hiragana", "\x82\xa0\x82\xa2", std::string("あい")},
                      Conversion{"half-width katakana", "\xb1", std::string("ｱ")},
                      Conversion{"vendor extension (circled one)", "\x87\x40", std::string("①")},
                      Conversion{"full-width yen", "\x81\x8f", std::string("￥")},
                      Conversion{"cut-off double byte", "abc\x82", std::nullopt},
                      Conversion{"unassigned lead byte", "\x85\x40", std::nullopt},
                      Conversion{"bad trail byte", "\x82\x20", std::nullopt},
                      Conversion{"unassigned single byte", "\xa0", std::nullopt},
                      Conversion{"utf-8 is not cp932", "\xe3\x81\x82", std::nullopt}));

} // namespace
