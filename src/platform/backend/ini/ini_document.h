#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavren::backend::ini {

// The text of an INI file, edited line by line the way the classic profile
// functions do: names compared without regard to ASCII letter case, the first
// matching key wins, and every line that is not changed stays byte for byte
// (comments, blank lines, stray text, duplicate sections, CR LF line ends).
// A line with a NUL byte is damaged: it is never read or changed, and the rest
// of the document works as if it were a comment (or, when it looks like a
// section header, a section that no name matches).
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string_view text);

    // The value of the first key `key` inside a section `section`, with the blanks
    // around it removed, or nothing.
    std::optional<std::string> find(std::string_view section, std::string_view key) const;

    // Replaces the value of that key in place (its line keeps the key's spelling),
    // or adds the key at the end of the first such section, or adds the section at
    // the end of the document. Line breaks and NULs in the value become blanks, so
    // a value can never add lines of its own.
    void set(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct Line {
        std::string content; // without the line end
        std::string end;     // "\n", "\r\n" or "" for a last line without one
    };

    std::string newLineEnd() const;

    std::vector<Line> lines_;
};

} // namespace tavren::backend::ini
