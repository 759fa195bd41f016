#include "window_title.h"

#include <algorithm>

namespace tavren::delivery {

namespace {

constexpr std::size_t kBlankCheckBytes = 519;

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view cutTitle(std::string_view title, std::size_t maxBytes) {
    if (title.size() <= maxBytes) return title;
    std::size_t cut = maxBytes;
    // A UTF-8 character has at most three continuation bytes; stepping back
    // further would only happen on broken text, which is then cut where it is.
    for (int step = 0; step < 3 && cut > 0 && isContinuationByte(title[cut]); ++step)
        --cut;
    if (isContinuationByte(title[cut])) cut = maxBytes;
    return title.substr(0, cut);
}

bool isBlankTitle(std::string_view title) {
    const auto head = cutTitle(title, kBlankCheckBytes);
    return std::all_of(head.begin(), head.end(), [](char c) { return c == ' '; });
}

bool looksLikeGameClient(std::string_view title) {
    static constexpr std::string_view needle = "ultima online";
    const auto it = std::search(title.begin(), title.end(), needle.begin(), needle.end(),
                                [](char a, char b) { return asciiLower(a) == b; });
    return it != title.end();
}

} // namespace tavren::delivery
