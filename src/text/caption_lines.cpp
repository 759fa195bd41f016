#include "caption_lines.h"

#include "utf8.h"

#include <algorithm>
#include <cmath>

namespace tavren::text {
namespace {

struct Character {
    std::size_t offset; // of its first byte in the paragraph
    char32_t code;
};

bool isSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\u3000';
}

// Kana, kanji, CJK punctuation and full-width forms: lines may break on either
// side of them.
bool isJapanese(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x2FFFF);
}

// Kanji: two of them side by side are often one word.
bool isKanji(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || c == U'々' ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2FFFF);
}

bool isIn(char32_t c, std::u32string_view set) {
    return set.find(c) != std::u32string_view::npos;
}

// Characters that must not begin a line, and that must not end one.
constexpr std::u32string_view kNoLineStart =
    U"、。，．・：；？！ー…‥）］｝〕〉》」』】〙〗”’ゝゞヽヾ々〻"
    U"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ)]}.,:;!?%";
constexpr std::u32string_view kNoLineEnd = U"（［｛〔〈《「『【〘〖“‘([{";

bool canBreakBefore(char32_t previous, char32_t next) {
    if (isSpace(next)) return false; // spaces hang at the end of the line
    if (isSpace(previous)) return true;
    if (isIn(next, kNoLineStart) || isIn(previous, kNoLineEnd)) return false;
    return isJapanese(previous) || isJapanese(next);
}

std::vector<Character> charactersOf(std::string_view text) {
    std::vector<Character> characters;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const auto code = decodeCharacter(text, pos);
        if (!code) ++pos; // a stray byte stands alone
        characters.push_back({start, code.value_or(U'\uFFFD')});
    }
    return characters;
}

class ParagraphBreaker {
public:
    ParagraphBreaker(std::string_view text, int width,
                     const std::function<int(std::string_view)>& widthOf)
        : text_(text), chars_(charactersOf(text)), width_(width), widthOf_(widthOf) {}

    void appendLines(std::vector<std::string>& lines) {
        const std::size_t n = chars_.size();
        if (n == 0) {
            lines.emplace_back();
            return;
        }
        std::size_t start = 0;
        while (start < n) {
            const std::size_t end = lineEnd(start);
            lines.emplace_back(trimmed(start, end));
            start = end;
            while (start < n && isSpace(chars_[start].code))
                ++start;
        }
    }

private:
    bool breakBefore(std::size_t i) const {
        return i == chars_.size() || canBreakBefore(chars_[i - 1].code, chars_[i].code);
    }

    std::size_t byteAt(std::size_t i) const {
        return i == chars_.size() ? text_.size() : chars_[i].offset;
    }

    // Characters start..end, without the spaces at their end.
    std::string_view trimmed(std::size_t start, std::size_t end) const {
        while (end > start && isSpace(chars_[end - 1].code))
            --end;
        return text_.substr(byteAt(start), byteAt(end) - byteAt(start));
    }

    bool fits(std::size_t start, std::size_t end) const {
        return widthOf_(trimmed(start, end)) <= width_;
    }

    // A break inside a run of kanji splits what is most likely one word.
    bool splitsKanji(std::size_t i) const {
        return i < chars_.size() && isKanji(chars_[i - 1].code) && isKanji(chars_[i].code);
    }

    // Where the line that begins at `start` ends: at the last break that still
    // fits, else within its first unbreakable run, as far as that fits. A break
    // inside a run of kanji gives way to an earlier one that fills at least half
    // the line ("キーボード" and "監視", not "キーボード監" and "視").
    std::size_t lineEnd(std::size_t start) const {
        std::size_t end = start + 1;
        while (!breakBefore(end))
            ++end;
        if (!fits(start, end)) {
            std::size_t cut = start + 1;
            while (cut + 1 < end && fits(start, cut + 1))
                ++cut;
            return cut;
        }
        std::size_t wordEnd = splitsKanji(end) ? 0 : end;
        for (std::size_t next = end + 1; next <= chars_.size(); ++next) {
            if (!breakBefore(next)) continue;
            if (!fits(start, next)) break;
            end = next;
            if (!splitsKanji(next)) wordEnd = next;
        }
        if (end != wordEnd && wordEnd != 0 && 2 * widthOf_(trimmed(start, wordEnd)) >= width_)
            return wordEnd;
        return end;
    }

    std::string_view text_;
    std::vector<Character> chars_;
    int width_;
    const std::function<int(std::string_view)>& widthOf_;
};

} // namespace

std::vector<std::string> breakCaption(std::string_view caption, int width,
                                      const std::function<int(std::string_view)>& widthOf) {
    std::vector<std::string> lines;
    if (caption.empty()) return lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t newline = caption.find('\n', start);
        std::string_view paragraph = caption.substr(start, newline - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.remove_suffix(1);
        ParagraphBreaker(paragraph, width, widthOf).appendLines(lines);
        if (newline == std::string_view::npos) return lines;
        start = newline + 1;
    }
}

int smallestCaptionPixelSize(int designPixelSize) {
    return static_cast<int>(std::lround(designPixelSize * 7.5 / 9.0));
}

CaptionFit fitCaption(std::string_view caption, int width, int height, int designPixelSize,
                      const CaptionMetrics& metrics) {
    const int smallest = std::min(designPixelSize, smallestCaptionPixelSize(designPixelSize));
    CaptionFit fit;
    for (int size = designPixelSize; size >= smallest; --size) {
        fit.pixelSize = size;
        fit.lineHeight = metrics.lineHeight(size);
        fit.lines = breakCaption(
            caption, width, [&](std::string_view line) { return metrics.lineWidth(line, size); });
        const bool narrowEnough =
            std::all_of(fit.lines.begin(), fit.lines.end(), [&](const std::string& line) {
                return metrics.lineWidth(line, size) <= width;
            });
        fit.fits = narrowEnough && fit.height() <= height;
        if (fit.fits) return fit;
    }
    return fit;
}

} // namespace tavren::text
