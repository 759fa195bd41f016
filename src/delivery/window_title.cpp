#include "window_title.h"

#include "text/ascii_case.h"
#include "text/utf8.h"

#include <algorithm>

namespace tavren::delivery {

namespace {

constexpr std::size_t kBlankCheckBytes = 519;

} // namespace

std::string_view cutTitle(std::string_view title, std::size_t maxBytes) {
    return text::cutOnCharacterBoundary(title, maxBytes);
}

bool isBlankTitle(std::string_view title) {
    const auto head = cutTitle(title, kBlankCheckBytes);
    return std::all_of(head.begin(), head.end(), [](char c) { return c == ' '; });
}

bool looksLikeGameClient(std::string_view title) {
    static constexpr std::string_view needle = "ultima online";
    const auto it = std::search(title.begin(), title.end(), needle.begin(), needle.end(),
                                [](char a, char b) { return text::asciiLower(a) == b; });
    return it != title.end();
}

} // namespace tavren::delivery
