// Tavren on a Windows whose ANSI code page is UTF-8 (65001), as it is once a
// user turns on "Use Unicode UTF-8 for worldwide language support": run under
// Wine with a locale that has no ANSI code page of its own (ctest sets LOCPATH
// and LC_ALL to the Hindi one the build generates), for which Wine, like
// Windows with that option, takes UTF-8. Order files and the old settings file
// written on a Japanese system are Shift_JIS whatever the code page is now; the
// IRC link keeps the code page, which the IRC client, an ANSI program, shares.
#include "../../backend/win32/link_monitor_process.h"
#include "../../backend/win32/recorded_diagnostics.h"
#include "../../backend/win32/target_process.h"
#include "platform/backend/win32/dde_conversation.h"
#include "platform/backend/win32/wide_text.h"
#include "platform/backend/win32/win32_settings_file.h"
#include "tavren_process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavren::backend::win32::testing {
namespace {

using Lines = std::vector<std::string>;

// Each test means something only when the ANSI code page is UTF-8; under any
// other it fails rather than passing by chance.
class Utf8CodePage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8))
            << "not run under a locale whose code page is UTF-8 (LOCPATH, LC_ALL)";
    }
};

// The example order file's five orders, as Notepad on a Japanese system saves
// them: 攻撃開始！ 撤退 集合＠本陣 回復求む 敵発見\北 in Shift_JIS.
const std::string kOrdersSjis = "\x8D\x55\x8C\x82\x8A\x4A\x8E\x6E\x81\x49,FF8080\r\n"
                                "\x93\x50\x91\xDE,8080FF\r\n"
                                "\x8F\x57\x8D\x87\x81\x97\x96\x7B\x90\x77,80FF80\r\n"
                                "\x89\xF1\x95\x9C\x8B\x81\x82\xDE,FFFF80\r\n"
                                "\x93\x47\x94\xAD\x8C\xA9\\\x96\x6B\r\n";

TEST_F(Utf8CodePage, TavrenReadsAShiftJisOrderFile) {
    TavrenProcess tavren(kOrdersSjis);
    ASSERT_NE(tavren.mainWindow(), nullptr) << "tavren.exe's main window did not appear";
    for (const wchar_t* caption :
         {L"攻撃開始！", L"撤退", L"集合＠本陣", L"回復求む", L"敵発見\\北"})
        EXPECT_EQ(tavren.children(L"Button", caption).size(), 1u) << wideToUtf8(caption);
}

TEST_F(Utf8CodePage, LegacySettingsAreConvertedFromShiftJis) {
    const std::wstring legacy = scratchPath(L"legacy.ini");
    const std::wstring imported = scratchPath(L"imported\\QVRL2.ini");
    writeBytes(legacy, "[nick]\r\ntxt=\x8E\x52\x93\x63\x81\x97\r\n"); // 山田＠
    EXPECT_TRUE(importLegacySettings(wideToUtf8(imported), {wideToUtf8(legacy)}));
    EXPECT_EQ(readBytes(imported), "[nick]\r\ntxt=山田＠\r\n");
    DeleteFileW(legacy.c_str());
    DeleteFileW(imported.c_str());
    RemoveDirectoryW(scratchPath(L"imported").c_str());
}

TEST_F(Utf8CodePage, LinkKeepsTheCodePageOfTheIrcClient) {
    LinkMonitorProcess monitor;
    RecordedDiagnostics diagnostics;
    DdeConversation link(diagnostics); // the system's code page
    ASSERT_TRUE(link.open("CHOCOA", "SCRIPTEXEC_SEND", "R1C1"));
    EXPECT_TRUE(link.execute("サーバ,/nick WS_山田＠\r\n"));
    EXPECT_TRUE(dispatchUntil([&] { return link.opening() == 0 && link.unanswered() == 0; }));
    EXPECT_EQ(monitor.output(), "サーバ,/nick WS_山田＠\r\n\n");
    EXPECT_EQ(diagnostics.lines, Lines{});
}

} // namespace
} // namespace tavren::backend::win32::testing
