// SPDX-License-Identifier: MIT
#include "commandline.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace tarnwell::app {

namespace {

// QApplication's own options: accepted here, taken by QApplication itself.
constexpr const char *kQtOptionsWithValue[] = {"platform", "platformpluginpath", "platformtheme", "plugin",
                                               "qmljsdebugger", "qwindowgeometry", "geometry", "qwindowicon",
                                               "icon", "qwindowtitle", "title", "session", "style",
                                               "stylesheet", "display", "name", "visual"};
constexpr const char *kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

const char kHelp[] = "Usage: tarnwell [--help | --version]\n"
                     "Edits the settings of the game Quillvane from outside the game, in one window.\n"
                     "\n"
                     "  -h, --help     show this help and exit\n"
                     "  -v, --version  show the version and exit\n"
                     "\n"
                     "Qt's own options, such as -platform or -style, are accepted too.\n";

void print(std::FILE *stream, const QString &text)
{
#ifdef Q_OS_WIN
    // A windowed program has no terminal of its own; it writes to the one it was started from, unless
    // its output already goes somewhere (a file, a pipe), which the console would take over.
    const DWORD handle = stream == stdout ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE;
    if (GetFileType(GetStdHandle(handle)) == FILE_TYPE_UNKNOWN && AttachConsole(ATTACH_PARENT_PROCESS))
        static_cast<void>(std::freopen("CONOUT$", "w", stream));
#endif
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> answerCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

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
        print(stderr, QStringLiteral("tarnwell: %1\nTry 'tarnwell --help' for more information.\n").arg(error));
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, QString::fromLatin1(kHelp));
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QStringLiteral("tarnwell " TARNWELL_VERSION_TEXT "\n"));
        return 0;
    }
    return std::nullopt;
}

} // namespace tarnwell::app
