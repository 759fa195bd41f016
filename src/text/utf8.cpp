#include "utf8.h"

namespace tavren::text {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The length a lead byte announces, 0 for a byte that cannot start a character.
std::size_t announcedLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead >> 5) == 0x6) return 2;
    if ((lead >> 4) == 0xE) return 3;
    if ((lead >> 3) == 0x1E) return 4;
    return 0;
}

} // namespace

std::optional<char32_t> decodeCharacter(std::string_view text, std::size_t& pos) {
    if (pos >= text.size()) return std::nullopt;
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t n = announcedLength(lead);
    if (n == 0 || pos + n > text.size()) return std::nullopt;
    char32_t cp = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        if (!isContinuationByte(text[pos + k])) return std::nullopt;
        cp = (cp << 6) | (static_cast<unsigned char>(text[pos + k]) & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    pos += n;
    return cp;
}

std::size_t validSequenceLength(std::string_view text, std::size_t pos) {
    const std::size_t start = pos;
    return decodeCharacter(text, pos) ? pos - start : 0;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = validSequenceLength(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string replacingInvalidBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t n = validSequenceLength(text, i);
        if (n == 0) {
            out += kReplacementCharacter;
            ++i;
        } else {
            out += text.substr(i, n);
            i += n;
        }
    }
    return out;
}

std::vector<std::string_view> utf8Characters(std::string_view text) {
    std::vector<std::string_view> out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t n = announcedLength(static_cast<unsigned char>(text[i]));
        if (n == 0) n = 1;
        if (i + n > text.size()) n = text.size() - i;
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

std::string_view cutOnCharacterBoundary(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t cut = maxBytes;
    // A UTF-8 character has at most three continuation bytes; a longer run is not
    // UTF-8 and is cut where the limit falls.
    for (int back = 0; back < 3 && cut > 0 && isContinuationByte(text[cut]); ++back)
        --cut;
    if (isContinuationByte(text[cut])) cut = maxBytes;
    return text.substr(0, cut);
}

} // namespace tavren::text
