// Tavren on Linux/X11: the Qt views, the X11 window manager, keyboard and key
// state, the session bus link and the INI settings file, handed to the main window.
// Qt headers come before Xlib's, whose macros (Bool, Status, None) they cannot
// survive.
#include <QApplication>

#include "app/main_window.h"
#include "platform/backend/dbus/dbus_conversation.h"
#include "platform/backend/dbus/desktop_input_method.h"
#include "platform/backend/dbus/press_service.h"
#include "platform/backend/dbus/session_bus_address.h"
#include "platform/backend/ini/ini_profile_store.h"
#include "platform/backend/posix/end_signals.h"
#include "platform/backend/posix/iconv_text_codec.h"
#include "platform/backend/posix/posix_files.h"
#include "platform/backend/posix/posix_settings_file.h"
#include "platform/backend/posix/xdg_profile_path.h"
#include "platform/view/qt/qt_end_requests.h"
#include "platform/view/qt/qt_event_loop.h"
#include "platform/view/qt/qt_open_dialog.h"
#include "platform/view/qt/qt_screens.h"
#include "platform/view/qt/qt_view.h"
#include "program/command_line.h"

#include "platform/backend/x11/x11_connection.h"
#include "platform/backend/x11/x11_input.h"
#include "platform/backend/x11/x11_stacking.h"
#include "platform/backend/x11/x11_window_manager.h"
#include "stderr_diagnostics.h"
#include "wayland_session.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    using namespace tavren;

    // Read before the application object, which needs a display: --help and
    // --version work anywhere.
    std::vector<std::string> arguments;
    for (int i = 0; i < argc; ++i)
        arguments.push_back(QString::fromLocal8Bit(argv[i]).toStdString());
    const program::CommandLine commandLine = program::readCommandLine(
        arguments, qEnvironmentVariable("TAVREN_LOG").toStdString(), program::kLinuxProgram);
    switch (commandLine.action) {
    case program::CommandLine::Action::ShowHelp:
    case program::CommandLine::Action::ShowVersion:
        std::fputs(QString::fromStdString(commandLine.text).toLocal8Bit().constData(), stdout);
        return 0;
    case program::CommandLine::Action::Refuse:
        std::fputs(QString::fromStdString(commandLine.text).toLocal8Bit().constData(), stderr);
        return 2;
    case program::CommandLine::Action::Press: {
        // Bus calls want an application object; no window is made.
        QCoreApplication application(argc, argv);
        // Standard error carries the one line below and nothing else: Qt D-Bus
        // may warn of its own types while the connection winds down.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        const auto outcome = backend::dbus::askRunningTavrenToPress(
            backend::dbus::sessionBusAddress(), commandLine.pressNumber, commandLine.pressRight);
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
        backend::posix::EndSignals endSignals;
        view::qt::QtView view;
        view::qt::QtEventLoop events;
        view::qt::QtOpenDialog openDialog;
        view::qt::QtScreens screens(view.scale());
        backend::posix::PosixFiles files;
        backend::posix::IconvTextCodec codec;

        backend::x11::survivePeerWindowErrors();
        backend::x11::DisplayPtr display = backend::x11::openDisplay(nullptr);
        backend::x11::X11WindowManager windowManager(display.get());
        backend::x11::X11Stacking stacking(display.get(), [&view](const controls::Form& form) {
            return static_cast<unsigned long>(view.nativeWindowId(form));
        });
        // fcitx5 or ibus, whichever runs when an order is typed.
        backend::dbus::DesktopInputMethod inputMethod;
        auto input = backend::x11::openX11Input(nullptr, &inputMethod);

        program::StderrDiagnostics toStandardError;
        services::Diagnostics& diagnostics =
            commandLine.verbose ? static_cast<services::Diagnostics&>(toStandardError)
                                : services::NoDiagnostics::instance();
        if (commandLine.verbose && wayland) std::fprintf(stderr, "tavren: %s\n", wayland->c_str());

        backend::dbus::DBusConversation conversation;
        backend::posix::PosixSettingsFile settingsFile;
        backend::ini::IniProfileStore profile(backend::posix::defaultProfilePath(), settingsFile);

        app::MainWindow window(services::Services{events, windowManager, stacking, input->keyboard,
                                                  input->monitor, conversation, profile, files,
                                                  codec, openDialog, screens, diagnostics});
        view.addForm(window.form().IRC_Quorvel);
        view.addForm(window.nickForm().frm_nick);
        window.open();
        // Presses asked for by `tavren --press`, once the board is laid out.
        backend::dbus::PressService pressService(
            backend::dbus::sessionBusAddress(),
            [&window](int number, bool right) { return window.pressOrderButton(number, right); });
        view::qt::QtEndRequests endRequests(events, endSignals.descriptor(), [&window] {
            window.form().IRC_Quorvel.requestClose();
        });
        return events.exec();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavren: %s\n", e.what());
        return 1;
    }
}
