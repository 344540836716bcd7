// SPDX-License-Identifier: MIT
#include "cli.h"

#include "cliconsole.h"
#include "cliexec.h"
#include "cliverbs.h"

#include "files/toolfiles.h"
#include "maintenance/gameprocess.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <optional>

namespace tarnwell::cli {

namespace {

using Verb = Request::Verb;

struct VerbOption {
    const char *name;
    Verb verb;
    bool withValue;
};

constexpr VerbOption kVerbs[] = {
    {"list", Verb::List, false},           {"get", Verb::Get, true},
    {"set", Verb::Set, true},              {"save-profile", Verb::SaveProfile, true},
    {"profile", Verb::Profile, true},      {"export-profile", Verb::ExportProfile, true},
    {"import-profile", Verb::ImportProfile, true}, {"profiles", Verb::Profiles, false},
};
constexpr const char *kModifiers[] = {"game", "json", "strict", "force"};

const char kHelp[] =
    "Usage: tarnwell [--help | --version]\n"
    "       tarnwell [--game PATH] --list [--json] | --get NAME | --set NAME=VALUE... [--force]\n"
    "       tarnwell [--game PATH] --save-profile NAME | --profile NAME [--force]\n"
    "       tarnwell [--game PATH] --profile NAME [--strict] [--force] -- COMMAND [ARGUMENTS...]\n"
    "       tarnwell --profiles | --export-profile NAME FILE | --import-profile FILE\n"
    "Edits the settings of the game Quillvane from outside the game, in a window or on the command line.\n"
    "\n"
    "  -h, --help                  show this help and exit\n"
    "  -v, --version               show the version and exit\n"
    "  --game PATH                 the game's QVX.EXE; without it, the one chosen in the window\n"
    "  --list                      every setting as Name=value, one a line (--json: a JSON object)\n"
    "  --get NAME                  the value of one setting\n"
    "  --set NAME=VALUE            change a setting (repeat for more); every value is checked first\n"
    "  --save-profile NAME         keep the game's settings as a profile\n"
    "  --profile NAME              write the profile's settings into the game's files\n"
    "  --profile auto              the profile that auto-profile.json names for battery or mains power\n"
    "  --profile NAME -- COMMAND   then run COMMAND with its arguments as given, never through a shell,\n"
    "                              and exit with its exit status; a profile that cannot be written is\n"
    "                              reported and the command runs all the same, unless --strict\n"
    "  --force                     write even while the game runs, or into a read-only file\n"
    "  --profiles                  the names of the profiles\n"
    "  --export-profile NAME FILE  copy a profile to FILE\n"
    "  --import-profile FILE       add the profile in FILE\n"
    "\n"
    "Settings are named as in the game's files (ResolutionWidth, UseHDR, Brightness, ...), and values\n"
    "are written as the files hold them (\"1920\", \"true\", \"On\"). Profiles are kept in\n"
    "$XDG_CONFIG_HOME/tarnwell/profiles (~/.config/tarnwell/profiles), on Windows in\n"
    "%LOCALAPPDATA%\\Tarnwell\\profiles.\n"
    "\n"
    "Exit status: 0 done; 1 a value or profile refused (nothing written); 2 a usage error; 3 no game,\n"
    "or its settings files missing or unreadable; 4 a write refused or failed (nothing written, but a\n"
    "file the message names as written before a failure); 5 the game is running (nothing written;\n"
    "--force writes anyway). After -- COMMAND: the command's own exit status.\n"
    "\n"
    "Qt's own options, such as -platform or -style, are accepted when the window opens.\n";

QString optionName(const QString &argument)
{
    return argument.startsWith(QLatin1String("--")) ? argument.mid(2).section(QLatin1Char('='), 0, 0) : QString();
}

// Why the options given do not go together, or empty text.
QString mismatch(const Request &request, const QStringList &positional, bool game)
{
    const Verb verb = request.verb;
    if (!positional.isEmpty() && !(verb == Verb::ExportProfile && positional.size() == 1))
        return QStringLiteral("Unexpected argument '%1'.").arg(positional.constFirst());
    if (verb == Verb::ExportProfile && request.file.isEmpty())
        return QStringLiteral("--export-profile takes a profile's name and a file.");
    if (request.json && verb != Verb::List)
        return QStringLiteral("--json goes with --list.");
    if ((request.strict || request.command) && verb != Verb::Profile)
        return QStringLiteral("A command after -- and --strict go with --profile.");
    if (request.strict && !request.command)
        return QStringLiteral("--strict goes with a command after --.");
    if (request.force && verb != Verb::Set && verb != Verb::Profile)
        return QStringLiteral("--force goes with --set or --profile.");
    if (game && (verb == Verb::Profiles || verb == Verb::ExportProfile || verb == Verb::ImportProfile))
        return QStringLiteral("--game goes with --list, --get, --set, --save-profile or --profile.");
    return {};
}

// The request, or a usage error's text.
std::optional<Request> parse(const QStringList &head, bool command, QString &error)
{
    QCommandLineParser parser;
    for (const VerbOption &verb : kVerbs) {
        parser.addOption(verb.withValue ? QCommandLineOption(QString::fromLatin1(verb.name), QString(), QStringLiteral("v"))
                                        : QCommandLineOption(QString::fromLatin1(verb.name)));
    }
    parser.addOption(QCommandLineOption(QStringLiteral("game"), QString(), QStringLiteral("path")));
    for (const char *flag : {"json", "strict", "force"})
        parser.addOption(QCommandLineOption(QString::fromLatin1(flag)));
    if (!parser.parse(head)) {
        error = parser.errorText();
        return std::nullopt;
    }
    std::optional<Request> request;
    for (const VerbOption &verb : kVerbs) {
        const QString name = QString::fromLatin1(verb.name);
        if (!parser.isSet(name))
            continue;
        const QStringList values = parser.values(name);
        if (request || (values.size() > 1 && verb.verb != Verb::Set)) {
            error = QStringLiteral("Give one of --list, --get, --set, --save-profile, --profile, --profiles, "
                                   "--export-profile and --import-profile.");
            return std::nullopt;
        }
        request = Request{verb.verb, parser.value(QStringLiteral("game")), values.value(0), {}, {}};
        if (verb.verb == Verb::Set)
            request->sets = values;
    }
    if (!request) {
        error = QStringLiteral("--game, --json, --strict and --force go with --list, --get, --set or --profile.");
        return std::nullopt;
    }
    request->json = parser.isSet(QStringLiteral("json"));
    request->strict = parser.isSet(QStringLiteral("strict"));
    request->force = parser.isSet(QStringLiteral("force"));
    request->command = command;
    const QStringList positional = parser.positionalArguments();
    if (request->verb == Verb::ExportProfile && positional.size() == 1)
        request->file = positional.first();
    else if (request->verb == Verb::ImportProfile)
        request->file = request->name;
    error = mismatch(*request, positional, parser.isSet(QStringLiteral("game")));
    return error.isEmpty() ? request : std::nullopt;
}

int carryOut(const Request &request, const Environment &environment)
{
    switch (request.verb) {
    case Verb::List:
        return list(request, environment);
    case Verb::Get:
        return get(request, environment);
    case Verb::Set:
        return set(request, environment);
    case Verb::SaveProfile:
        return saveProfile(request, environment);
    case Verb::Profile:
        return applyProfile(request, environment);
    case Verb::ExportProfile:
        return exportProfile(request, environment);
    case Verb::ImportProfile:
        return importProfile(request, environment);
    case Verb::Profiles:
        return profiles(request, environment);
    }
    return Usage;
}

Environment systemEnvironment()
{
    return {QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
            userToolFolder(),
            backupsFolder(),
            systemPowerSource,
            isGameRunning,
            [](QByteArrayView bytes) { console::writeOut(bytes); },
            [](const QString &message) { console::writeErr(QStringLiteral("tarnwell: %1\n").arg(message)); }};
}

} // namespace

QString helpText()
{
    return QString::fromLatin1(kHelp);
}

bool wantsCommandLine(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        const QString name = optionName(arguments[i]);
        for (const VerbOption &verb : kVerbs) {
            if (name == QLatin1String(verb.name))
                return true;
        }
        for (const char *modifier : kModifiers) {
            if (name == QLatin1String(modifier))
                return true;
        }
    }
    return false;
}

Outcome run(const QStringList &arguments, const Environment &environment)
{
    // What follows "--" is the command's, word for word: never parsed as options.
    const qsizetype dashes = arguments.indexOf(QStringLiteral("--"));
    const QStringList head = dashes < 0 ? arguments : arguments.first(dashes);
    const bool command = dashes >= 0 && dashes + 1 < arguments.size();
    QString error;
    if (dashes >= 0 && !command)
        error = QStringLiteral("-- must be followed by a command.");
    const std::optional<Request> request = error.isEmpty() ? parse(head, command, error) : std::nullopt;
    if (!request) {
        environment.err(error + QStringLiteral("\nTry 'tarnwell --help' for more information."));
        return {Usage, -1};
    }
    const int code = carryOut(*request, environment);
    if (!command || (code != Done && request->strict))
        return {code, -1};
    if (code != Done)
        environment.err(QStringLiteral("Running %1 all the same.").arg(arguments.at(dashes + 1)));
    return {code, int(dashes + 1)};
}

int runCommandLine(int argc, char *argv[])
{
    console::attach();
    const QCoreApplication application(argc, argv);
    // The system's own words (on Windows, the UTF-16 command line), which the command gets unchanged.
    const QStringList arguments = QCoreApplication::arguments();
    const Outcome outcome = run(arguments, systemEnvironment());
    if (outcome.commandIndex < 0)
        return outcome.exitCode;
    return runInstead(argc, argv, outcome.commandIndex, arguments.mid(outcome.commandIndex));
}

} // namespace tarnwell::cli
