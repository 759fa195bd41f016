#include "fcitx5_hotkeys.h"

#include <cstdlib>
#include <fstream>

namespace tavren::backend::dbus {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

std::filesystem::path fcitx5ConfigPath() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::filesystem::path(config) / "fcitx5" / "config";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "") / ".config" / "fcitx5" / "config";
}

std::optional<backend::x11::InputMethodKey> parseFcitx5Key(const std::string& text) {
    backend::x11::InputMethodKey key;
    std::string rest = trimmed(text);
    // Modifiers come first, each followed by "+"; a key named "plus" is spelt out.
    for (auto plus = rest.find('+'); plus != std::string::npos && plus + 1 < rest.size();
         plus = rest.find('+')) {
        const std::string modifier = rest.substr(0, plus);
        if (modifier == "Control")
            key.control = true;
        else if (modifier == "Shift")
            key.shift = true;
        else if (modifier == "Alt")
            key.alt = true;
        else
            return std::nullopt;
        rest = rest.substr(plus + 1);
    }
    if (rest.empty()) return std::nullopt;
    key.keysym = rest;
    return key;
}

namespace {

std::optional<backend::x11::InputMethodKey>
firstHotkey(const std::filesystem::path& configPath, const std::string& section,
            const backend::x11::InputMethodKey& fcitx5Default) {
    std::ifstream file(configPath);
    if (!file) return fcitx5Default;
    std::string line;
    bool inSection = false;
    bool sectionSeen = false;
    while (std::getline(file, line)) {
        line = trimmed(line);
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[" + section + "]";
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (inSection && line.rfind("0=", 0) == 0) return parseFcitx5Key(line.substr(2));
    }
    if (!sectionSeen) return fcitx5Default;
    return std::nullopt;
}

} // namespace

std::optional<backend::x11::InputMethodKey>
fcitx5ActivateKey(const std::filesystem::path& configPath) {
    return firstHotkey(configPath, "Hotkey/ActivateKeys", {"Hangul_Hanja"});
}

std::optional<backend::x11::InputMethodKey>
fcitx5DeactivateKey(const std::filesystem::path& configPath) {
    return firstHotkey(configPath, "Hotkey/DeactivateKeys", {"Hangul_Romaja"});
}

} // namespace tavren::backend::dbus
