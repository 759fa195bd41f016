#include "delivery/send_keys.h"

#include "text/utf8.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tavren::delivery {
namespace {

using services::KeySequence;
using services::KeyStroke;
using services::NamedKey;

struct NameEntry {
    std::string_view name;
    NamedKey key;
};

constexpr std::array kNamedKeys{
    NameEntry{"ENTER", NamedKey::Enter},
    NameEntry{"TAB", NamedKey::Tab},
    NameEntry{"BS", NamedKey::Backspace},
    NameEntry{"BKSP", NamedKey::Backspace},
    NameEntry{"BACKSPACE", NamedKey::Backspace},
    NameEntry{"DEL", NamedKey::Delete},
    NameEntry{"DELETE", NamedKey::Delete},
    NameEntry{"INS", NamedKey::Insert},
    NameEntry{"INSERT", NamedKey::Insert},
    NameEntry{"HOME", NamedKey::Home},
    NameEntry{"END", NamedKey::End},
    NameEntry{"PGUP", NamedKey::PageUp},
    NameEntry{"PGDN", NamedKey::PageDown},
    NameEntry{"UP", NamedKey::Up},
    NameEntry{"DOWN", NamedKey::Down},
    NameEntry{"LEFT", NamedKey::Left},
    NameEntry{"RIGHT", NamedKey::Right},
    NameEntry{"ESC", NamedKey::Escape},
    NameEntry{"BREAK", NamedKey::Break},
    NameEntry{"CAPSLOCK", NamedKey::CapsLock},
    NameEntry{"NUMLOCK", NamedKey::NumLock},
    NameEntry{"SCROLLLOCK", NamedKey::ScrollLock},
    NameEntry{"PRTSC", NamedKey::PrintScreen},
    NameEntry{"HELP", NamedKey::Help},
    NameEntry{"ADD", NamedKey::KeypadAdd},
    NameEntry{"SUBTRACT", NamedKey::KeypadSubtract},
    NameEntry{"MULTIPLY", NamedKey::KeypadMultiply},
    NameEntry{"DIVIDE", NamedKey::KeypadDivide},
};

std::optional<NamedKey> namedKey(std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    for (const auto& entry : kNamedKeys)
        if (entry.name == upper) return entry.key;
    // F1 .. F16
    if (upper.size() >= 2 && upper.size() <= 3 && upper[0] == 'F') {
        int n = 0;
        for (std::size_t i = 1; i < upper.size(); ++i) {
            if (upper[i] < '0' || upper[i] > '9') return std::nullopt;
            n = n * 10 + (upper[i] - '0');
        }
        if (upper[1] != '0' && n >= 1 && n <= 16)
            return static_cast<NamedKey>(static_cast<int>(NamedKey::F1) + n - 1);
    }
    return std::nullopt;
}

// What one character of the text types; an empty sequence for a line feed.
std::optional<KeySequence> strokesForCharacter(char32_t c, std::uint8_t mods) {
    if (c == U'\r') return KeySequence{KeyStroke::key(NamedKey::Enter, mods)};
    if (c == U'\t') return KeySequence{KeyStroke::key(NamedKey::Tab, mods)};
    if (c == U'\n') return KeySequence{};
    if (c < 0x20 || c == 0x7F) return std::nullopt;
    return KeySequence{KeyStroke::text(c, mods)};
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<KeySequence> parseAll() {
        KeySequence out;
        if (!parseItems(out, kNoModifier, /*insideGroup=*/false)) return std::nullopt;
        return out;
    }

private:
    static constexpr std::uint8_t kNoModifier = services::kNoModifier;

    // Parses items until the end (top level) or the closing parenthesis (group).
    bool parseItems(KeySequence& out, std::uint8_t held, bool insideGroup) {
        while (pos_ < text_.size()) {
            if (text_[pos_] == ')') {
                if (!insideGroup) return false;
                ++pos_;
                return true;
            }
            if (!parseItem(out, held)) return false;
        }
        return !insideGroup;
    }

    // One key, one braced key or one group, with the modifiers written before it.
    bool parseItem(KeySequence& out, std::uint8_t held) {
        std::uint8_t mods = held;
        bool sawModifier = false;
        for (; pos_ < text_.size(); ++pos_) {
            const char c = text_[pos_];
            if (c == '+')
                mods |= services::kShift;
            else if (c == '^')
                mods |= services::kControl;
            else if (c == '%')
                mods |= services::kAlt;
            else
                break;
            sawModifier = true;
        }
        if (pos_ >= text_.size()) return false; // a modifier with nothing after it
        const char c = text_[pos_];
        switch (c) {
        case '~':
            ++pos_;
            out.push_back(KeyStroke::key(NamedKey::Enter, mods));
            return true;
        case '{':
            return parseBraced(out, mods);
        case '(': {
            if (depth_ == kMaxGroupDepth) return false;
            ++pos_;
            ++depth_;
            const std::size_t before = out.size();
            const bool closed = parseItems(out, mods, /*insideGroup=*/true);
            --depth_;
            if (!closed) return false;
            return !(sawModifier && out.size() == before);
        }
        case ')':
            return false; // a modifier right before a closing parenthesis
        case '}':
            return false; // a closing brace must be quoted
        default:
            break;
        }
        const auto character = text::decodeCharacter(text_, pos_);
        if (!character) return false;
        const auto strokes = strokesForCharacter(*character, mods);
        if (!strokes) return false;
        if (sawModifier && strokes->empty()) return false;
        out.insert(out.end(), strokes->begin(), strokes->end());
        return true;
    }

    // "{NAME}", "{NAME n}", "{x}", "{x n}". The character right after "{" belongs to
    // the content even when it is "}", which is how "{}}" quotes a closing brace.
    bool parseBraced(KeySequence& out, std::uint8_t mods) {
        const std::size_t open = pos_;
        if (open + 1 >= text_.size()) return false;
        const std::size_t close = text_.find('}', open + 2);
        if (close == std::string_view::npos) return false;
        const std::string_view content = text_.substr(open + 1, close - open - 1);
        pos_ = close + 1;

        std::string_view name = content;
        int count = 1;
        const std::size_t space = content.rfind(' ');
        if (space != std::string_view::npos && space >= 1 && space + 1 < content.size()) {
            const std::string_view digits = content.substr(space + 1);
            if (digits.find_first_not_of("0123456789") == std::string_view::npos) {
                if (digits.size() > 3) return false;
                count = 0;
                for (char d : digits)
                    count = count * 10 + (d - '0');
                if (count > kMaxRepeatCount) return false;
                name = content.substr(0, space);
            }
        }

        KeySequence one;
        if (const auto key = namedKey(name)) {
            one.push_back(KeyStroke::key(*key, mods));
        } else {
            std::size_t at = 0;
            const auto character = text::decodeCharacter(name, at);
            if (!character || at != name.size()) return false;
            auto strokes = strokesForCharacter(*character, mods);
            if (!strokes) return false;
            one = std::move(*strokes);
        }
        for (int i = 0; i < count; ++i)
            out.insert(out.end(), one.begin(), one.end());
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int depth_ = 0; // groups open around the current position
};

} // namespace

std::optional<services::KeySequence> parseSendKeys(std::string_view text) {
    return Parser(text).parseAll();
}

} // namespace tavren::delivery
