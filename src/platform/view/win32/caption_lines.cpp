#include "caption_lines.h"

namespace tavren::view::win32 {
namespace {

// Kana, ideographs, full-width forms and the CJK punctuation among them.
bool isWideScript(wchar_t c) {
    return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == 0x3000;
}

// Closing marks stay with what they close, opening marks with what they open.
bool isClosing(wchar_t c) {
    return std::wstring_view(L"、。，．）」』】〕〉》ー・！？").find(c) != std::wstring_view::npos;
}
bool isOpening(wchar_t c) {
    return std::wstring_view(L"（「『【〔〈《").find(c) != std::wstring_view::npos;
}

std::wstring_view trimmed(std::wstring_view line) {
    while (!line.empty() && isSpace(line.back()))
        line.remove_suffix(1);
    return line;
}

void breakParagraph(std::wstring_view text, int width,
                    const std::function<int(std::wstring_view)>& measure,
                    std::vector<std::wstring>& lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t lastBreak = 0; // a length from start at which the line may end
        std::size_t end = start;
        while (end < text.size()) {
            const std::size_t length = end + 1 - start;
            if (length > 1 && measure(trimmed(text.substr(start, length))) > width) break;
            ++end;
            if (end < text.size() &&
                (isSpace(text[end - 1]) || breaksBetween(text[end - 1], text[end])))
                lastBreak = end - start;
        }
        std::size_t length = end - start;
        if (end < text.size() && lastBreak > 0) length = lastBreak;
        lines.emplace_back(trimmed(text.substr(start, length)));
        start += length;
        // Spaces at a break belong to neither line.
        while (start < text.size() && isSpace(text[start]))
            ++start;
    }
}

} // namespace

bool breaksBetween(wchar_t before, wchar_t after) {
    if (!isWideScript(before) && !isWideScript(after)) return false;
    return !isClosing(after) && !isOpening(before);
}

std::vector<std::wstring> breakCaption(std::wstring_view text, int width,
                                       const std::function<int(std::wstring_view)>& measure) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t newline = text.find(L'\n', start);
        std::wstring_view paragraph = text.substr(start, newline - start);
        if (!paragraph.empty() && paragraph.back() == L'\r') paragraph.remove_suffix(1);
        if (paragraph.empty())
            lines.emplace_back();
        else
            breakParagraph(paragraph, width, measure, lines);
        if (newline == std::wstring_view::npos) break;
        start = newline + 1;
    }
    if (lines.size() == 1 && lines.front().empty()) lines.clear();
    return lines;
}

} // namespace tavren::view::win32
