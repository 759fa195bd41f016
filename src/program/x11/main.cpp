// Tavren on Linux/X11: the Qt views, the X11 window manager, keyboard and key
// state, the session bus link and the INI settings file, handed to the main window.
// Qt headers come before Xlib's, whose macros (Bool, Status, None) they cannot
// survive.
#include <QApplication>

#include "app/main_window.h"
#include "command_line.h"
#include "platform/dbus/dbus_conversation.h"
#include "platform/dbus/desktop_input_method.h"
#include "platform/dbus/press_service.h"
#include "platform/dbus/session_bus_address.h"
#include "platform/ini/ini_profile_store.h"
#include "platform/posix/end_signals.h"
#include "platform/posix/iconv_text_codec.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_settings_file.h"
#include "platform/posix/xdg_profile_path.h"
#include "platform/qt/qt_end_requests.h"
#include "platform/qt/qt_event_loop.h"
#include "platform/qt/qt_open_dialog.h"
#include "platform/qt/qt_screens.h"
#include "platform/qt/qt_view.h"

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_stacking.h"
#include "platform/x11/x11_window_manager.h"
#include "stderr_diagnostics.h"
#include "wayland_session.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    using namespace tavren;

    // Read before the application object, which needs a display: --help and
    // --version work anywhere.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const program::CommandLine commandLine =
        program::readCommandLine(arguments, qEnvironmentVariable("TAVREN_LOG"));
    switch (commandLine.action) {
    case program::CommandLine::Action::ShowHelp:
    case program::CommandLine::Action::ShowVersion:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stdout);
        return 0;
    case program::CommandLine::Action::Refuse:
        std::fputs(commandLine.text.toLocal8Bit().constData(), stderr);
        return 2;
    case program::CommandLine::Action::Press: {
        // Bus calls want an application object; no window is made.
        QCoreApplication application(argc, argv);
        // Standard error carries the one line below and nothing else: Qt D-Bus
        // may warn of its own types while the connection winds down.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        const auto outcome = dbus::askRunningTavrenToPress(
            dbus::sessionBusAddress(), commandLine.pressNumber, commandLine.pressRight);
        if (outcome.pressed) return 0;
        std::fprintf(stderr, "tavren: %s\n", outcome.why.c_str());
        return 1;
    }
    case program::CommandLine::Action::Run:
        break;
    }

    // Window ids and synthesised keys are X11's: run through XWayland on Wayland.
    const auto wayland =
        program::waylandSessionNotice(qEnvironmentVariable("WAYLAND_DISPLAY").toStdString(),
                                      qEnvironmentVariable("XDG_SESSION_TYPE").toStdString());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    // The menu entry's name: desktops match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavren.Tavren"));

    try {
        // From here on, kill, logout and Ctrl+C wait for the event loop, which
        // ends the program as closing its window does: settings saved.
        posix::EndSignals endSignals;
        qt::QtView view;
        qt::QtEventLoop events;
        qt::QtOpenDialog openDialog;
        qt::QtScreens screens(view.scale());
        posix::PosixFiles files;
        posix::IconvTextCodec codec;

        x11::survivePeerWindowErrors();
        x11::DisplayPtr display = x11::openDisplay(nullptr);
        x11::X11WindowManager windowManager(display.get());
        x11::X11Stacking stacking(display.get(), [&view](const controls::Form& form) {
            return static_cast<unsigned long>(view.nativeWindowId(form));
        });
        // fcitx5 or ibus, whichever runs when an order is typed.
        dbus::DesktopInputMethod inputMethod;
        auto input = x11::openX11Input(nullptr, &inputMethod);

        program::StderrDiagnostics toStandardError;
        services::Diagnostics& diagnostics =
            commandLine.verbose ? static_cast<services::Diagnostics&>(toStandardError)
                                : services::NoDiagnostics::instance();
        if (commandLine.verbose && wayland) std::fprintf(stderr, "tavren: %s\n", wayland->c_str());

        dbus::DBusConversation conversation;
        posix::PosixSettingsFile settingsFile;
        ini::IniProfileStore profile(posix::defaultProfilePath(), settingsFile);

        app::MainWindow window(services::Services{events, windowManager, stacking, input->keyboard,
                                                  input->monitor, conversation, profile, files,
                                                  codec, openDialog, screens, diagnostics});
        view.addForm(window.form().IRC_Quorvel);
        view.addForm(window.nickForm().frm_nick);
        window.open();
        // Presses asked for by `tavren --press`, once the board is laid out.
        dbus::PressService pressService(
            dbus::sessionBusAddress(),
            [&window](int number, bool right) { return window.pressOrderButton(number, right); });
        qt::QtEndRequests endRequests(events, endSignals.descriptor(),
                                      [&window] { window.form().IRC_Quorvel.requestClose(); });
        return events.exec();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavren: %s\n", e.what());
        return 1;
    }
}
