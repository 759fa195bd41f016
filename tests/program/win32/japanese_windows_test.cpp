// Tavren on a Japanese Windows, whose ANSI code page is 932 (Shift_JIS): run
// under Wine with a Japanese locale (ctest sets LOCPATH and LC_ALL to the one
// the build generates), so the IRC link's conversions go through CP_ACP
// exactly as on the users' systems, and Shift_JIS files read as they do there.
#include "../../backend/win32/link_monitor_process.h"
#include "../../backend/win32/recorded_diagnostics.h"
#include "../../backend/win32/target_process.h"
#include "board/order_file.h"
#include "platform/backend/win32/dde_conversation.h"
#include "platform/backend/win32/wide_text.h"
#include "platform/backend/win32/win32_files.h"
#include "platform/backend/win32/win32_settings_file.h"
#include "platform/backend/win32/win32_text_codec.h"
#include "tavren_process.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace tavren::backend::win32::testing {
namespace {

using Lines = std::vector<std::string>;

// Everything here means something only when Windows' ANSI code page is
// Shift_JIS; under any other each test fails rather than passing by chance.
class JapaneseWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 932u) << "not run under the Japanese locale (LOCPATH, LC_ALL)";
    }
};

// サーバ, 山田＠ and 攻撃開始！ in Shift_JIS.
const std::string kServerSjis = "\x83\x54\x81\x5B\x83\x6F";
const std::string kNickSjis = "\x8E\x52\x93\x63\x81\x97";
const std::string kAttackSjis = "\x8D\x55\x8C\x82\x8A\x4A\x8E\x6E\x81\x49";

TEST_F(JapaneseWindows, AnnouncementAndNickArriveAsShiftJisBytes) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics); // the system's code page
    ASSERT_TRUE(link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1"));
    EXPECT_TRUE(link.execute("サーバ,/privmsg $# Connect.... OK"));
    EXPECT_TRUE(link.execute("サーバ,/nick WS_山田＠\r\n"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(monitor.output(), kServerSjis + ",/privmsg $# Connect.... OK\n" + kServerSjis +
                                    ",/nick WS_" + kNickSjis + "\r\n\n");
    EXPECT_EQ(diagnostics.lines, Lines{});
}

TEST_F(JapaneseWindows, CommandShiftJisCannotHoldIsRefusedNotAltered) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics);
    ASSERT_TRUE(link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1"));
    EXPECT_FALSE(link.execute("srv,/nick WS_한국")); // Hangul: no form in CP932
    EXPECT_FALSE(link.execute("srv,/nick WS_Ünal")); // no best fit to a plain U
    EXPECT_TRUE(link.execute("srv,/nick WS_山田"));
    EXPECT_TRUE(dispatchUntil([&] { return link.unanswered() == 0; }));
    EXPECT_EQ(monitor.commands(), Lines{"srv,/nick WS_\x8E\x52\x93\x63"});
}

TEST_F(JapaneseWindows, ShiftJisOrderFileIsReadExactly) {
    const std::wstring path = scratchPath(L"tavren.txt");
    // 攻撃開始！, then 合流 C:\城門 ￥500 #2! with its backslash (0x5C) and
    // full-width yen, the NEC extension ① and half-width katakana ｱ.
    writeBytes(path, kAttackSjis + ",FF8080\r\n\x8D\x87\x97\xAC C:\\\x8F\xE9\x96\xE5 "
                                   "\x81\x8F"
                                   "500 #2!\r\n\x87\x40\xB1\r\n");
    Win32Files files;
    Win32TextCodec codec;
    const auto bytes = files.readPrefix(wideToUtf8(path), 1 << 20);
    DeleteFileW(path.c_str());
    ASSERT_TRUE(bytes.has_value());
    const std::string text = board::decodeOrderFile(
        *bytes, false, [&](const std::string& legacy) { return codec.legacyToUtf8(legacy); });
    EXPECT_EQ(text, "攻撃開始！,FF8080\r\n合流 C:\\城門 ￥500 #2!\r\n①ｱ\r\n");
}

TEST_F(JapaneseWindows, LegacySettingsAreConvertedFromShiftJis) {
    const std::wstring legacy = scratchPath(L"legacy.ini");
    const std::wstring imported = scratchPath(L"imported\\QVRL2.ini");
    writeBytes(legacy, "[nick]\r\ntxt=" + kNickSjis + "\r\n");
    EXPECT_TRUE(importLegacySettings(wideToUtf8(imported), {wideToUtf8(legacy)}));
    EXPECT_EQ(readBytes(imported), "[nick]\r\ntxt=山田＠\r\n");
    EXPECT_EQ(readBytes(legacy), "[nick]\r\ntxt=" + kNickSjis + "\r\n"); // left alone
    DeleteFileW(legacy.c_str());
    DeleteFileW(imported.c_str());
    RemoveDirectoryW(scratchPath(L"imported").c_str());
}

// The program itself: a Shift_JIS order file read at start-up, its Japanese
// server name announced on the link in Shift_JIS, after the first announcement.
TEST_F(JapaneseWindows, TavrenReadsAShiftJisOrderFileAndAnnouncesItsServer) {
    LinkMonitorProcess monitor;
    TavrenProcess tavren(kAttackSjis + ",FF8080\r\n*servername=" + kServerSjis + "\r\n");
    ASSERT_NE(tavren.mainWindow(), nullptr) << "tavren.exe's main window did not appear";
    EXPECT_TRUE(waitFor([&] { return monitor.commands().size() >= 2; }));
    EXPECT_EQ(monitor.commands(), (Lines{"Text1,/privmsg $# Connect.... OK",
                                         kServerSjis + ",/privmsg $# Connect.... OK"}));
    EXPECT_EQ(tavren.children(L"Button", L"攻撃開始！").size(), 1u);
}

} // namespace
} // namespace tavren::backend::win32::testing
