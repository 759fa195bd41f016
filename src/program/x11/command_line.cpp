#include "command_line.h"

#include "app/version.h"

#include <QCommandLineParser>

namespace tavren::program {

namespace {

QString versionText() {
    return QStringLiteral("%1.%2.%3")
        .arg(app::kVersionMajor)
        .arg(app::kVersionMinor)
        .arg(app::kVersionRevision);
}

CommandLine refuse(const QString& why) {
    return {CommandLine::Action::Refuse, false,
            QStringLiteral("tavren: %1 (try 'tavren --help')\n").arg(why)};
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments, const QString& logVariable) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Tavren, a one-click order board: each button types its caption and Enter into\n"
        "the window picked as the send destination. Tavren reads the order file\n"
        "tavren.txt in the current directory and keeps its settings in\n"
        "$XDG_CONFIG_HOME/tavren/QVRL2.ini (normally ~/.config/tavren/QVRL2.ini)."));
    // Plain options rather than Qt's help option, whose --help-all lists Qt's
    // own options, which Tavren refuses.
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and exit."));
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and exit."));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"),
        QStringLiteral("Report on standard error, one line each, the failures Tavren passes "
                       "over silently (a link that did not open, an order that was not typed, "
                       "a window that did not come to the front, a settings file that could not "
                       "be written, a line that stopped the order file). TAVREN_LOG=1 does the "
                       "same."));
    const QCommandLineOption press(
        QStringLiteral("press"),
        QStringLiteral("Ask the Tavren running in this session to press order button N (1 to 81, "
                       "counted as the board shows them) as a left click does, wait until the "
                       "press has ended, and exit; nothing is started. Exits 1 when no Tavren "
                       "runs or its board does not show that button."),
        QStringLiteral("N"));
    const QCommandLineOption right(
        QStringLiteral("right"),
        QStringLiteral(
            "With --press: as the right mouse button presses (\\ sent as @, ￥ as ＠)."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(verbose);
    parser.addOption(press);
    parser.addOption(right);

    if (!parser.parse(arguments)) return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        // Without an application object Qt cannot know the program's name.
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("tavren"));
        return {CommandLine::Action::ShowHelp, false, text};
    }
    if (parser.isSet(version))
        return {CommandLine::Action::ShowVersion, false,
                QStringLiteral("tavren %1\n").arg(versionText())};
    if (parser.isSet(press)) {
        bool number = false;
        const int button = parser.value(press).toInt(&number);
        if (!number || button < 1 || button > 81)
            return refuse(QStringLiteral("--press takes a button number from 1 to 81, not '%1'")
                              .arg(parser.value(press)));
        CommandLine pressing{CommandLine::Action::Press, false, {}};
        pressing.pressNumber = button;
        pressing.pressRight = parser.isSet(right);
        return pressing;
    }
    if (parser.isSet(right)) return refuse(QStringLiteral("--right goes with --press"));
    const bool logRequested = !logVariable.isEmpty() && logVariable != QStringLiteral("0");
    return {CommandLine::Action::Run, parser.isSet(verbose) || logRequested, {}};
}

} // namespace tavren::program
