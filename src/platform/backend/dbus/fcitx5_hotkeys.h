#pragma once

#include "platform/backend/x11/input_method.h"

#include <filesystem>
#include <optional>
#include <string>

namespace tavren::backend::dbus {

// fcitx5's global settings: $XDG_CONFIG_HOME/fcitx5/config (~/.config/...).
std::filesystem::path fcitx5ConfigPath();

// The first key of fcitx5's "activate input method" hot keys in the settings
// file at `configPath`: fcitx5's default (Hangul_Hanja) when the file or its
// section is missing, nothing when the user emptied the list or named a key
// with modifiers other than Control, Shift and Alt.
std::optional<backend::x11::InputMethodKey>
fcitx5ActivateKey(const std::filesystem::path& configPath);
// Likewise "deactivate input method" (fcitx5's default: Hangul_Romaja).
std::optional<backend::x11::InputMethodKey>
fcitx5DeactivateKey(const std::filesystem::path& configPath);

// One key as fcitx5 writes it: "Control+Shift+space", "Hangul_Hanja".
std::optional<backend::x11::InputMethodKey> parseFcitx5Key(const std::string& text);

} // namespace tavren::backend::dbus
