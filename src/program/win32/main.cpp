// Tavren on Windows: the native Win32 views, the user32 window manager,
// SendInput keystrokes, Raw Input key state, the DDE link and the INI settings
// file in %APPDATA%, handed to the main window.
//
// A GUI program: started from Explorer it has no console, and --help,
// --version and --verbose write to what the command prompt redirected, or else
// to the console of the prompt that started it.
#include "app/main_window.h"
#include "console_output.h"
#include "dpi_awareness.h"
#include "platform/backend/ini/ini_profile_store.h"
#include "platform/backend/win32/dde_conversation.h"
#include "platform/backend/win32/press_receiver.h"
#include "platform/backend/win32/raw_input_key_monitor.h"
#include "platform/backend/win32/system_foreground_calls.h"
#include "platform/backend/win32/wide_text.h"
#include "platform/backend/win32/win32_files.h"
#include "platform/backend/win32/win32_keyboard.h"
#include "platform/backend/win32/win32_settings_file.h"
#include "platform/backend/win32/win32_stacking.h"
#include "platform/backend/win32/win32_text_codec.h"
#include "platform/backend/win32/win32_window_manager.h"
#include "platform/view/win32/win32_event_loop.h"
#include "platform/view/win32/win32_open_dialog.h"
#include "platform/view/win32/win32_screens.h"
#include "platform/view/win32/win32_view.h"
#include "program/command_line.h"
#include "resources/resource_ids.h"
#include "session_end.h"
#include "stderr_diagnostics.h"

#include <windows.h>

#include <cmath>
#include <exception>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> utf8Arguments() {
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {"tavren"};
    for (int i = 0; i < count; ++i)
        arguments.push_back(tavren::backend::win32::wideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::string environmentVariable(const wchar_t* name) {
    wchar_t value[64];
    const DWORD n = GetEnvironmentVariableW(name, value, 64);
    if (n == 0 || n >= 64) return n >= 64 ? "1" : "";
    return tavren::backend::win32::wideToUtf8(std::wstring_view(value, n));
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace tavren;
    using program::Stream;

    const program::CommandLine commandLine = program::readCommandLine(
        utf8Arguments(), environmentVariable(L"TAVREN_LOG"), program::kWindowsProgram);
    switch (commandLine.action) {
    case program::CommandLine::Action::ShowHelp:
    case program::CommandLine::Action::ShowVersion:
        program::writeText(Stream::Output, commandLine.text);
        return 0;
    case program::CommandLine::Action::Refuse:
        program::writeText(Stream::Error, commandLine.text);
        return 2;
    case program::CommandLine::Action::Press: {
        const auto outcome = backend::win32::askRunningTavrenToPress(commandLine.pressNumber,
                                                                     commandLine.pressRight);
        if (outcome.pressed) return 0;
        program::writeText(Stream::Error, "tavren: " + outcome.why + "\n");
        return 1;
    }
    case program::CommandLine::Action::Run:
        break;
    }

    program::becomeDpiAware();
    try {
        view::win32::Win32View view;
        view.setProgramIcon(GetModuleHandleW(nullptr), TAVREN_ICON);
        // Tab, Shift+Tab and the arrow keys move through the controls.
        view::win32::Win32EventLoop events([&view](MSG& msg) { return view.navigate(msg); });
        view::win32::Win32OpenDialog openDialog;
        view::win32::Win32Screens screens(
            static_cast<int>(std::lround(1440.0 / view.scale().perPixelY)));
        backend::win32::Win32Files files;
        backend::win32::Win32TextCodec codec;

        backend::win32::SystemForegroundCalls foregroundCalls;
        backend::win32::Win32WindowManager windowManager(foregroundCalls);
        backend::win32::Win32Stacking stacking(
            [&view](const controls::Form& form) { return view.nativeWindowId(form); });
        backend::win32::RawInputKeyMonitor keyMonitor;

        program::StderrDiagnostics toStandardError;
        services::Diagnostics& diagnostics =
            commandLine.verbose ? static_cast<services::Diagnostics&>(toStandardError)
                                : services::NoDiagnostics::instance();
        backend::win32::SystemProcessIntegrity integrity;
        backend::win32::Win32Keyboard keyboard(integrity, diagnostics);

        backend::win32::DdeConversation conversation(diagnostics);
        // The old build's file (Windows directory or its VirtualStore copy) is
        // taken over once, before the first read.
        const std::string settingsPath = backend::win32::defaultSettingsPath();
        backend::win32::importLegacySettings(settingsPath,
                                             backend::win32::defaultLegacySettingsPaths());
        backend::win32::Win32SettingsFile settingsFile;
        backend::ini::IniProfileStore profile(settingsPath, settingsFile);

        app::MainWindow window(services::Services{events, windowManager, stacking, keyboard,
                                                  keyMonitor, conversation, profile, files, codec,
                                                  openDialog, screens, diagnostics});
        view.addForm(window.form().IRC_Quorvel);
        view.addForm(window.nickForm().frm_nick);
        window.open();
        // Presses asked for by `tavren.exe --press`, once the board is laid out.
        backend::win32::PressReceiver pressReceiver(
            [&window](int number, bool right) { return window.pressOrderButton(number, right); });
        // From here on, a log-off or shut-down ends the program as closing its
        // window does: settings saved.
        program::SessionEnd sessionEnd(events,
                                       [&window] { window.form().IRC_Quorvel.requestClose(); });
        return events.exec();
    } catch (const std::exception& e) {
        program::writeText(Stream::Error, std::string("tavren: ") + e.what() + "\n");
        return 1;
    }
}
