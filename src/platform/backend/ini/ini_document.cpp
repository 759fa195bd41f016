#include "ini_document.h"

#include "text/ascii_case.h"
#include "text/utf8.h"

namespace tavren::backend::ini {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    return text::equalsIgnoringAsciiCase(a, b);
}

// What one line of the file is, as far as lookups care.
struct Parsed {
    enum Kind { Other, Section, Key, DamagedSection } kind = Other;
    std::string_view name;
    std::size_t valueStart = 0; // for keys: offset of the value in the line
};

Parsed classify(std::string_view line, bool first) {
    std::size_t offset = 0;
    if (first && line.substr(0, text::kByteOrderMark.size()) == text::kByteOrderMark)
        offset = text::kByteOrderMark.size();
    while (offset < line.size() && isBlank(line[offset]))
        ++offset;
    const std::string_view rest = line.substr(offset);
    // A NUL byte means the line is damaged: nothing in it can be trusted, so it
    // is neither read nor changed. If it looks like a section header it still
    // ends the section before it, lest its keys pass for that section's keys.
    if (rest.find('\0') != std::string_view::npos)
        return {rest.front() == '[' ? Parsed::DamagedSection : Parsed::Other, {}, 0};
    if (rest.empty() || rest.front() == ';' || rest.front() == '#') return {};
    if (rest.front() == '[') {
        const auto close = rest.rfind(']');
        if (close == std::string_view::npos) return {};
        return {Parsed::Section, trim(rest.substr(1, close - 1)), 0};
    }
    const auto equals = rest.find('=');
    if (equals == std::string_view::npos) return {};
    const std::string_view name = trim(rest.substr(0, equals));
    if (name.empty()) return {};
    std::size_t valueStart = offset + equals + 1;
    while (valueStart < line.size() && isBlank(line[valueStart]))
        ++valueStart;
    return {Parsed::Key, name, valueStart};
}

std::string withoutLineBreaks(std::string_view value) {
    std::string out(value);
    for (auto& c : out)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';
    return out;
}

} // namespace

IniDocument::IniDocument(std::string_view text) {
    while (!text.empty()) {
        const auto newline = text.find('\n');
        if (newline == std::string_view::npos) {
            lines_.push_back({std::string(text), ""});
            break;
        }
        std::string_view content = text.substr(0, newline);
        const bool crlf = !content.empty() && content.back() == '\r';
        if (crlf) content.remove_suffix(1);
        lines_.push_back({std::string(content), crlf ? "\r\n" : "\n"});
        text.remove_prefix(newline + 1);
    }
}

std::optional<std::string> IniDocument::find(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Parsed p = classify(lines_[i].content, i == 0);
        if (p.kind == Parsed::Section || p.kind == Parsed::DamagedSection) {
            inSection = p.kind == Parsed::Section && sameName(p.name, section);
        } else if (p.kind == Parsed::Key && inSection && sameName(p.name, key)) {
            return std::string(trim(std::string_view(lines_[i].content).substr(p.valueStart)));
        }
    }
    return std::nullopt;
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
    const std::string clean = withoutLineBreaks(value);
    bool inSection = false;
    std::optional<std::size_t> insertAt; // after the last key (or header) of the first section
    bool inFirstSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Parsed p = classify(lines_[i].content, i == 0);
        if (p.kind == Parsed::Section || p.kind == Parsed::DamagedSection) {
            inSection = p.kind == Parsed::Section && sameName(p.name, section);
            inFirstSection = inSection && !insertAt;
            if (inFirstSection) insertAt = i + 1;
        } else if (p.kind == Parsed::Key && inSection) {
            if (sameName(p.name, key)) {
                lines_[i].content.resize(p.valueStart);
                lines_[i].content += clean;
                return;
            }
            if (inFirstSection) insertAt = i + 1;
        }
    }
    const std::string end = newLineEnd();
    if (!lines_.empty() && lines_.back().end.empty()) {
        // A carriage return ending the file is the line's own byte: a bare "\n"
        // after it would turn it into a CRLF and take it from the value.
        const bool endsInReturn =
            !lines_.back().content.empty() && lines_.back().content.back() == '\r';
        lines_.back().end = endsInReturn ? "\r\n" : end;
    }
    const Line keyLine{std::string(key) + "=" + clean, end};
    if (insertAt) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), keyLine);
        return;
    }
    if (!lines_.empty() && !trim(lines_.back().content).empty()) lines_.push_back({"", end});
    lines_.push_back({"[" + std::string(section) + "]", end});
    lines_.push_back(keyLine);
}

std::string IniDocument::text() const {
    std::string out;
    for (const auto& line : lines_)
        out += line.content + line.end;
    return out;
}

std::string IniDocument::newLineEnd() const {
    for (const auto& line : lines_)
        if (!line.end.empty()) return line.end;
    return "\n";
}

} // namespace tavren::backend::ini
