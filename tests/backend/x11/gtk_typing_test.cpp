// Typing into a GTK 3 entry, whose compose handling reads some Unicode keysyms
// as the Compose key or as dead keys.
#include <gtest/gtest.h>

#include "backend/x11/desktop.h"
#include "backend/x11/typing_texts.h"
#include "delivery/send_keys.h"
#include "platform/backend/x11/x11_keyboard.h"

using namespace tavren;
using services::TypeResult;
using x11test::Desktop;

namespace {

std::string utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

std::string range(char32_t first, char32_t last) {
    std::string s;
    for (char32_t c = first; c <= last; ++c)
        s += utf8(c);
    return s;
}

struct GtkCase {
    std::string name;
    std::string text; // no syntax characters: typed as it stands
};

// ctest names each case by what this prints; the texts are too long for a name.
void PrintTo(const GtkCase& c, std::ostream* out) {
    *out << c.name;
}

class GtkTyping : public ::testing::TestWithParam<GtkCase> {
protected:
    Desktop desktop;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger};
};

// The line committed with the Enter after the text is the text; a second line
// after it shows the Enter was not taken into a compose sequence either.
TEST_P(GtkTyping, TheEntryReceivesExactlyTheTextAndTheEnter) {
    const std::string log = desktop.directory() + "/gtk.log";
    const auto entry = desktop.startGtkTarget(log, "GTK Entry");
    ASSERT_TRUE(entry);
    const auto keys = delivery::parseSendKeys(GetParam().text + "\r\n" + "after\r\n");
    ASSERT_TRUE(keys);

    ASSERT_EQ(keyboard.type(static_cast<services::WindowHandle>(entry->window()), *keys),
              TypeResult::Typed);

    EXPECT_EQ(Desktop::waitForFile(
                  log, [](const std::string& s) { return s.find("after\n") != std::string::npos; }),
              GetParam().text + "\n" + "after\n");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, GtkTyping,
    ::testing::Values(GtkCase{"FullWidthAt", "＠"}, GtkCase{"OrderEndingInAt", "突撃開始＠"},
                      GtkCase{"SmallComma", "﹐"},
                      GtkCase{"SmallFormVariants", range(0xFE50, 0xFE6B)},
                      GtkCase{"FullWidthAscii", range(0xFF01, 0xFF07) + range(0xFF0A, 0xFF5E)},
                      GtkCase{"HalfWidthKatakana", range(0xFF61, 0xFF9F)},
                      GtkCase{"FullWidthSigns", range(0xFFE0, 0xFFE6) + range(0xFFE8, 0xFFEE)},
                      GtkCase{"MixedLine", x11test::mixedJapaneseLine(3, 60)},
                      GtkCase{"FourLevelsOfCharacters", x11test::fourLevelsOfCharacters()}),
    [](const ::testing::TestParamInfo<GtkCase>& info) { return info.param.name; });

// "＠" bound to a spare keycode for a Qt window lingers there for later
// orders: into a GTK 3 entry it still goes through GTK's Unicode entry.
TEST(GtkTypingAfterAnotherWindow, ACharacterStillBoundElsewhereDoesNotStartACompose) {
    Desktop desktop;
    backend::x11::SynthesisLedger ledger;
    backend::x11::X11Keyboard keyboard{nullptr, ledger};
    const std::string qtLog = desktop.directory() + "/qt.log";
    const std::string gtkLog = desktop.directory() + "/gtk.log";
    const auto qt = desktop.startTarget(qtLog, "Qt Edit");
    const auto entry = desktop.startGtkTarget(gtkLog, "GTK Entry");
    ASSERT_TRUE(qt && entry);
    const auto keys = delivery::parseSendKeys("突撃開始＠\r\nafter\r\n");
    ASSERT_TRUE(keys);

    ASSERT_TRUE(desktop.activate(qt->window()));
    ASSERT_EQ(keyboard.type(static_cast<services::WindowHandle>(qt->window()), *keys),
              TypeResult::Typed);
    ASSERT_TRUE(desktop.activate(entry->window()));
    ASSERT_EQ(keyboard.type(static_cast<services::WindowHandle>(entry->window()), *keys),
              TypeResult::Typed);

    EXPECT_EQ(Desktop::readFile(qtLog), "突撃開始＠\nafter\n");
    EXPECT_EQ(Desktop::waitForFile(
                  gtkLog, [](const std::string& s) { return s.find("after\n") != s.npos; }),
              "突撃開始＠\nafter\n");
}

} // namespace
