#pragma once

#include "platform/controls/colour.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavren::board {

// An order file is read at most this far. Far beyond any real order file (82
// lines plus comments), it bounds the work and memory a huge or binary file costs.
inline constexpr std::size_t kOrderFileReadLimit = 1 << 20;
// What a read asks for: one byte beyond the limit tells a file of exactly the
// limit, whose last line is whole, from a longer one that the limit cuts.
inline constexpr std::size_t kOrderFileReadRequest = kOrderFileReadLimit + 1;

// Splits text into lines ending at CR or CR LF. A lone LF stays in its line; the
// last line needs no line end; an empty text has no lines.
std::vector<std::string_view> splitOrderLines(std::string_view text);

// The bytes of an order file as UTF-8 text. A file that begins with a UTF-8
// byte-order mark, or whose lines are mostly UTF-8 (see readsAsUtf8), is read as
// UTF-8 and loses the mark; any other is converted from the legacy code page by
// `legacyToUtf8`. Either way a byte that cannot be decoded becomes U+FFFD where
// it stands: line ends are plain ASCII in both encodings, so a bad byte spoils
// its own line's text and never the lines around it. When the read stopped at
// kOrderFileReadLimit (`truncated`), the cut last line is dropped as if the file
// ended before it.
template <class Decoder>
std::string decodeOrderFile(std::string bytes, bool truncated, Decoder&& legacyToUtf8);

// True when the bytes begin with a UTF-8 byte-order mark, or when every line is
// valid UTF-8, or when more lines hold UTF-8 characters beyond ASCII than lines
// are not valid UTF-8 (a UTF-8 file with a damaged line). Legacy text that is
// not plain ASCII is almost never valid UTF-8, line by line.
bool readsAsUtf8(std::string_view bytes);

// UTF-8 file bytes as text: without a leading byte-order mark (it is no part of
// the first line), each undecodable byte replaced by U+FFFD.
std::string utf8FileText(std::string_view bytes);

// One order line: the caption, and the colour when the line has a colour field.
struct OrderLine {
    std::string caption;
    std::optional<controls::Colour> colour;
};

// Parses an order line; nothing when its colour field is malformed (an empty or
// non-hexadecimal pair) or its first comma stands at character 32767 or later.
std::optional<OrderLine> parseOrderLine(std::string_view line);

// The colour field "RRGGBB" (only its first six characters count; a pair cut to
// one digit by the field's end is that digit).
std::optional<controls::Colour> parseColourField(std::string_view field);

// The directive lines of the start-up load.
enum class DirectiveKind { Rows, Columns, AlwaysOnTop, NickWindow, ServerName };
struct Directive {
    DirectiveKind kind;
    int digit = -1;         // Rows, Columns: the digit, -1 when not a decimal digit
    bool on = false;        // AlwaysOnTop, NickWindow
    std::string serverName; // ServerName
};

// The directive a line beginning with "*" holds, or nothing for a comment line.
std::optional<Directive> parseDirective(std::string_view line);

// Case-insensitive wildcard match: "?" one character, "*" any run of characters;
// letters compared without regard to case. Works on UTF-8 characters.
bool wildcardMatch(std::string_view text, std::string_view pattern);

// ---------------------------------------------------------------------------

template <class Decoder>
std::string decodeOrderFile(std::string bytes, bool truncated, Decoder&& legacyToUtf8) {
    if (truncated) {
        const auto lastEnd = bytes.find_last_of('\r');
        bytes.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
    }
    if (readsAsUtf8(bytes)) return utf8FileText(bytes);
    return legacyToUtf8(bytes);
}

} // namespace tavren::board
