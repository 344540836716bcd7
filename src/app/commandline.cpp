// SPDX-License-Identifier: MIT
#include "commandline.h"

#include "cli.h"
#include "cliconsole.h"

#include <QCommandLineParser>
#include <QStringList>

namespace tarnwell::app {

namespace {

// QApplication's own options: accepted here, taken by QApplication itself.
constexpr const char *kQtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                               "qmljsdebugger", "qwindowgeometry", "geometry", "qwindowicon",
                                               "icon", "qwindowtitle", "title", "session", "style",
                                               "stylesheet", "display", "name", "visual"};
constexpr const char *kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void print(bool toOut, const QString &text)
{
    if (toOut)
        console::writeOut(text.toLocal8Bit());
    else
        console::writeErr(text);
}

} // namespace

std::optional<int> answerCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (cli::wantsCommandLine(arguments))
        return cli::runCommandLine(argc, argv);

    QCommandLineParser parser;
    // Qt's options come with one dash: "-style" is one option, not five letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    for (const char *name : kQtOptionsWithValue)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), QString(), QStringLiteral("value")));
    for (const char *name : kQtFlags)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    QString error;
    if (!parser.parse(arguments))
        error = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    if (!error.isEmpty()) {
        print(false, QStringLiteral("tarnwell: %1\nTry 'tarnwell --help' for more information.\n").arg(error));
        return 2;
    }
    if (parser.isSet(help)) {
        print(true, cli::helpText());
        return 0;
    }
    if (parser.isSet(version)) {
        print(true, QStringLiteral("tarnwell " TARNWELL_VERSION_TEXT "\n"));
        return 0;
    }
    return std::nullopt;
}

} // namespace tarnwell::app
