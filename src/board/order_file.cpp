#include "order_file.h"

#include <algorithm>

#include "text/ascii_case.h"
#include "text/utf8.h"

namespace tavren::board {

using text::equalsIgnoringAsciiCase;
using text::utf8Characters;

namespace {

// Positions in a line are 16-bit: a comma this far in cannot be addressed.
constexpr std::size_t kMaxCommaPosition = 32767;

std::optional<int> hexDigit(std::string_view c) {
    if (c.size() != 1) return std::nullopt;
    const char ch = c[0];
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
    return std::nullopt;
}

// Characters from..to (1-based, inclusive) of a character list, cut at its end.
std::string characters(const std::vector<std::string_view>& chars, std::size_t from,
                       std::size_t to) {
    std::string out;
    for (std::size_t i = from; i <= to && i <= chars.size(); ++i)
        out += chars[i - 1];
    return out;
}

bool matchFrom(const std::vector<std::string_view>& text, std::size_t t,
               const std::vector<std::string_view>& pattern, std::size_t p) {
    // Iterative matching with one backtrack point for the last "*": linear enough
    // for the few short patterns used here, and never recursive.
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == "*") {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() &&
                   (pattern[p] == "?" || equalsIgnoringAsciiCase(pattern[p], text[t]))) {
            ++p;
            ++t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == "*")
        ++p;
    return p == pattern.size();
}

} // namespace

std::vector<std::string_view> splitOrderLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

bool readsAsUtf8(std::string_view bytes) {
    if (bytes.substr(0, text::kByteOrderMark.size()) == text::kByteOrderMark) return true;
    std::size_t utf8Lines = 0;
    std::size_t otherLines = 0;
    for (std::string_view line : splitOrderLines(bytes)) {
        if (!text::isValidUtf8(line))
            ++otherLines;
        else if (std::any_of(line.begin(), line.end(),
                             [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
            ++utf8Lines;
    }
    return otherLines == 0 || utf8Lines > otherLines;
}

std::string utf8FileText(std::string_view bytes) {
    if (bytes.substr(0, text::kByteOrderMark.size()) == text::kByteOrderMark)
        bytes.remove_prefix(text::kByteOrderMark.size());
    return text::replacingInvalidBytes(bytes);
}

std::optional<controls::Colour> parseColourField(std::string_view field) {
    const auto chars = utf8Characters(field);
    int channel[3] = {0, 0, 0};
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const std::size_t first = pair * 2;
        if (first >= chars.size()) return std::nullopt; // an empty pair
        int value = 0;
        for (std::size_t k = first; k < first + 2 && k < chars.size(); ++k) {
            const auto digit = hexDigit(chars[k]);
            if (!digit) return std::nullopt;
            value = value * 16 + *digit;
        }
        channel[pair] = value;
    }
    return controls::rgb(channel[0], channel[1], channel[2]);
}

std::optional<OrderLine> parseOrderLine(std::string_view line) {
    const auto comma = line.find(',');
    if (comma == std::string_view::npos) return OrderLine{std::string(line), std::nullopt};
    // The comma's position counted in characters, 1-based.
    const std::size_t position = utf8Characters(line.substr(0, comma)).size() + 1;
    if (position >= kMaxCommaPosition) return std::nullopt;
    const auto colour = parseColourField(line.substr(comma + 1));
    if (!colour) return std::nullopt;
    return OrderLine{std::string(line.substr(0, comma)), colour};
}

bool wildcardMatch(std::string_view text, std::string_view pattern) {
    return matchFrom(utf8Characters(text), 0, utf8Characters(pattern), 0);
}

std::optional<Directive> parseDirective(std::string_view line) {
    const auto chars = utf8Characters(line);
    const auto countDirective = [&](DirectiveKind kind) {
        Directive d{kind, -1, false, {}};
        const std::string_view last = chars[9];
        if (last.size() == 1 && last[0] >= '0' && last[0] <= '9') d.digit = last[0] - '0';
        return d;
    };
    if (wildcardMatch(line, "?ButtonT=?")) return countDirective(DirectiveKind::Rows);
    if (wildcardMatch(line, "?ButtonY=?")) return countDirective(DirectiveKind::Columns);
    if (wildcardMatch(line, "?TOP=*"))
        return Directive{DirectiveKind::AlwaysOnTop,
                         -1,
                         equalsIgnoringAsciiCase(characters(chars, 6, 7), "on"),
                         {}};
    if (wildcardMatch(line, "?nick=*"))
        return Directive{DirectiveKind::NickWindow,
                         -1,
                         equalsIgnoringAsciiCase(characters(chars, 7, 8), "on"),
                         {}};
    if (wildcardMatch(line, "?servername=*"))
        return Directive{DirectiveKind::ServerName, -1, false, characters(chars, 13, chars.size())};
    return std::nullopt;
}

} // namespace tavren::board
