#include "utf8.h"

namespace tavren::board {

namespace {
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 1; // not a lead byte: stands alone
}
} // namespace

std::vector<std::string_view> utf8Characters(std::string_view text) {
    std::vector<std::string_view> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t n = sequenceLength(static_cast<unsigned char>(text[i]));
        if (i + n > text.size()) n = text.size() - i;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace tavren::board
