// The caption line-breaking and shrink-to-fit rule, with a fixed-pitch stand-in
// for a font: no display, no toolkit.
#include "text/caption_lines.h"
#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace tavren::text;

namespace {

// Japanese characters one em wide, the others half an em; lines one em high
// plus `leading`.
class FixedPitch : public CaptionMetrics {
public:
    explicit FixedPitch(int leading = 0) : leading_(leading) {}
    int lineWidth(std::string_view line, int pixelSize) const override {
        int halves = 0;
        for (std::size_t pos = 0; pos < line.size();)
            halves += *decodeCharacter(line, pos) < 0x2E80 ? 1 : 2;
        return halves * pixelSize / 2;
    }
    int lineHeight(int pixelSize) const override { return pixelSize + leading_; }

private:
    int leading_;
};

std::vector<std::string> broken(std::string_view caption, int widthInEms) {
    const FixedPitch metrics;
    return breakCaption(caption, widthInEms * 12,
                        [&](std::string_view line) { return metrics.lineWidth(line, 12); });
}

using Lines = std::vector<std::string>;

} // namespace

struct BreakCase {
    const char* what;
    const char* caption;
    int widthInEms;
    Lines lines;
};

void PrintTo(const BreakCase& c, std::ostream* os) {
    *os << c.what;
}

class BreakCaptionTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(BreakCaptionTest, BreaksWhereTheRuleAllows) {
    EXPECT_EQ(broken(GetParam().caption, GetParam().widthInEms), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, BreakCaptionTest,
    ::testing::Values(
        BreakCase{"fits on one line", "常に手前に表示", 7, {"常に手前に表示"}},
        BreakCase{"between any two kanji or kana", "ボタン間隔", 3, {"ボタン", "間隔"}},
        BreakCase{"a closing bracket stays with the text before it",
                  "指揮官モード（文字色：赤）",
                  5,
                  {"指揮官モー", "ド（文字", "色：赤）"}},
        BreakCase{"a run of kanji stays whole", "キーボード監視", 6, {"キーボード", "監視"}},
        BreakCase{"unless the line would be less than half full", "設定監視", 3, {"設定監", "視"}},
        BreakCase{"an opening bracket goes with the text after it",
                  "モード（文字",
                  4,
                  {"モード", "（文字"}},
        BreakCase{"a Latin word is not split when it fits a line",
                  "選択したwindowをアクティブにする",
                  8,
                  {"選択したwindowを", "アクティブにする"}},
        BreakCase{"a Latin word wider than a line is split", "abcdefgh", 2, {"abcd", "efgh"}},
        BreakCase{"spaces at a break are dropped", "ab cd", 1, {"ab", "cd"}},
        BreakCase{"line breaks are kept", "縦\r\n横", 9, {"縦", "横"}},
        BreakCase{"a character wider than the line still gets a line", "縦横", 0, {"縦", "横"}},
        BreakCase{"no caption, no lines", "", 9, {}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(FitCaptionTest, KeepsTheDesignSizeWhenTheLinesFit) {
    const CaptionFit fit = fitCaption("キーボード監視", 5 * 12, 25, 12, FixedPitch());
    EXPECT_TRUE(fit.fits);
    EXPECT_EQ(fit.pixelSize, 12);
    EXPECT_EQ(fit.lines, (Lines{"キーボード", "監視"}));
}

// A font with looser lines: two lines of 12 px do not fit 25 px, two of 11 do.
TEST(FitCaptionTest, ShrinksOnlyAsFarAsTheLinesNeed) {
    const CaptionFit fit = fitCaption("キーボード監視", 5 * 12, 25, 12, FixedPitch(1));
    EXPECT_TRUE(fit.fits);
    EXPECT_EQ(fit.pixelSize, 11);
    EXPECT_EQ(fit.lineHeight, 12);
    EXPECT_LE(fit.height(), 25);
}

TEST(FitCaptionTest, StopsAtTheSmallestLegibleSize) {
    EXPECT_EQ(smallestCaptionPixelSize(12), 10);
    EXPECT_EQ(smallestCaptionPixelSize(18), 15);
    EXPECT_EQ(smallestCaptionPixelSize(24), 20);
    const CaptionFit fit = fitCaption("キーボード監視", 5 * 12, 12, 12, FixedPitch(1));
    EXPECT_FALSE(fit.fits);
    EXPECT_EQ(fit.pixelSize, 10);
    EXPECT_EQ(fit.lines, (Lines{"キーボード", "監視"}));
}
