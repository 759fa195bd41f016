#include "platform/backend/dbus/fcitx5_hotkeys.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace tavren::backend::dbus;

namespace {

std::filesystem::path configWith(const std::string& content) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("tavren-fcitx5-config-" +
                       std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::ofstream(path) << content;
    return path;
}

} // namespace

TEST(Fcitx5Hotkeys, KeysReadAsFcitx5WritesThem) {
    const auto plain = parseFcitx5Key("Hangul_Hanja");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->keysym, "Hangul_Hanja");
    EXPECT_FALSE(plain->control || plain->shift || plain->alt);

    const auto chord = parseFcitx5Key("Control+Shift+space");
    ASSERT_TRUE(chord);
    EXPECT_EQ(chord->keysym, "space");
    EXPECT_TRUE(chord->control && chord->shift && !chord->alt);

    // "+" alone at the end is the key itself.
    const auto plus = parseFcitx5Key("Control++");
    ASSERT_TRUE(plus);
    EXPECT_EQ(plus->keysym, "+");

    // Super and Hyper cannot be pressed with the order's keys.
    EXPECT_FALSE(parseFcitx5Key("Super+space"));
    EXPECT_FALSE(parseFcitx5Key(""));
}

TEST(Fcitx5Hotkeys, TheActivateKeyComesFromTheSettingsOrFcitx5sDefault) {
    EXPECT_EQ(fcitx5ActivateKey("/nonexistent/fcitx5/config")->keysym, "Hangul_Hanja");
    EXPECT_EQ(fcitx5DeactivateKey("/nonexistent/fcitx5/config")->keysym, "Hangul_Romaja");

    const auto other = configWith("[Hotkey]\nEnumerateWithTriggerKeys=True\n\n"
                                  "[Hotkey/ActivateKeys]\n0=Control+Alt+j\n1=Hangul_Hanja\n\n"
                                  "[Hotkey/DeactivateKeys]\n0=Hangul_Romaja\n");
    const auto key = fcitx5ActivateKey(other);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->keysym, "j");
    EXPECT_TRUE(key->control && key->alt);
    EXPECT_EQ(fcitx5DeactivateKey(other)->keysym, "Hangul_Romaja");

    const auto noSection = configWith("[Hotkey]\nEnumerateWithTriggerKeys=True\n");
    EXPECT_EQ(fcitx5ActivateKey(noSection)->keysym, "Hangul_Hanja");

    // An emptied list: the user wants no such key, and none is typed.
    const auto emptied = configWith("[Hotkey/ActivateKeys]\n\n[Hotkey/DeactivateKeys]\n0=x\n");
    EXPECT_FALSE(fcitx5ActivateKey(emptied));
    EXPECT_EQ(fcitx5DeactivateKey(emptied)->keysym, "x");

    for (const auto& path : {other, noSection, emptied})
        std::filesystem::remove(path);
}
