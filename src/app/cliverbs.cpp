// SPDX-License-Identifier: MIT
#include "cliverbs.h"

#include "cligame.h"

#include "files/pathcase.h"
#include "files/toolfiles.h"
#include "settings/autoprofile.h"
#include "settings/profilestore.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace tarnwell::cli {

namespace {

QString profilesHome(const Environment &environment)
{
    return profilesFolder(environment.toolFolder);
}

int unknownSetting(const QString &name, const Environment &environment)
{
    environment.err(QStringLiteral("There is no setting named \"%1\"; tarnwell --list names them all.").arg(name));
    return Usage;
}

void reportUnknown(const Profile &profile, const QStringList &unknown, const Environment &environment)
{
    if (!unknown.isEmpty())
        environment.err(QStringLiteral("The profile \"%1\" holds settings that this Tarnwell does not know, which were "
                                       "left out (they stay in its file): %2.")
                            .arg(profile.name, unknown.join(QStringLiteral(", "))));
}

// The profile of that name (or, for "auto", the one the rules name); Usage or Refused when there is none.
int findProfile(const QString &asked, const Environment &environment, Profile &profile)
{
    QString name = asked;
    if (name.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0) {
        const PowerSource source = environment.powerSource();
        const AutoChoice choice = autoProfile(environment.toolFolder, source);
        if (!choice.problem.isEmpty()) {
            environment.err(choice.problem);
            return choice.broken ? Refused : Usage;
        }
        name = choice.name;
        environment.err(QStringLiteral("--profile auto: %1, so \"%2\".")
                            .arg(source == PowerSource::Battery ? QStringLiteral("on battery")
                                 : source == PowerSource::Mains ? QStringLiteral("on mains power")
                                                                : QStringLiteral("power source unknown"),
                                 name));
    }
    const ProfileFile file = loadProfile(profilesHome(environment), name);
    if (file.status != ProfileFile::Read) {
        environment.err(file.problem);
        return file.status == ProfileFile::Missing ? Usage : Refused;
    }
    profile = file.profile;
    return Done;
}

QString absolute(const QString &path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

} // namespace

int list(const Request &request, const Environment &environment)
{
    CliGame game(environment);
    if (const int code = game.open(request.game); code != Done)
        return code;
    if (const int code = game.need(settingNames(), false); code != Done)
        return code;
    QByteArray lines;
    QJsonObject settings;
    for (const QString &name : settingNames()) {
        if (const std::optional<QByteArray> value = game.fileValue(name)) {
            lines += name.toLatin1() + '=' + *value + '\n';
            settings.insert(name, decodeValue(*value));
        }
    }
    if (request.json) {
        const QJsonObject root{{QStringLiteral("executable"), game.exePath()}, {QStringLiteral("settings"), settings}};
        lines = QJsonDocument(root).toJson(QJsonDocument::Indented);
    }
    environment.out(lines);
    return Done;
}

int get(const Request &request, const Environment &environment)
{
    if (rowOfSetting(request.name) < 0)
        return unknownSetting(request.name, environment);
    CliGame game(environment);
    if (const int code = game.open(request.game); code != Done)
        return code;
    if (const int code = game.need({request.name}, false); code != Done)
        return code;
    const std::optional<QByteArray> value = game.fileValue(request.name);
    if (!value) {
        const SessionFile &file = game.session().file(catalogue()[rowOfSetting(request.name)].file);
        environment.err(QStringLiteral("%1 holds no line of %2.").arg(QDir::toNativeSeparators(file.path), request.name));
        return NoGame;
    }
    environment.out(*value + '\n');
    return Done;
}

int set(const Request &request, const Environment &environment)
{
    ProfileValues values;
    for (const QString &set : request.sets) {
        const qsizetype equals = set.indexOf(QLatin1Char('='));
        const QString name = set.left(equals);
        if (equals < 0 || values.contains(name)) {
            environment.err(equals < 0 ? QStringLiteral("--set takes NAME=VALUE, not \"%1\".").arg(set)
                                       : QStringLiteral("--set names %1 twice.").arg(name));
            return Usage;
        }
        if (rowOfSetting(name) < 0)
            return unknownSetting(name, environment);
        values.insert(name, set.mid(equals + 1));
    }
    CliGame game(environment);
    if (const int code = game.open(request.game); code != Done)
        return code;
    if (const int code = game.need(values.keys(), true); code != Done)
        return code;
    return game.write(values, request.force);
}

int saveProfile(const Request &request, const Environment &environment)
{
    if (const QString problem = profileNameProblem(request.name); !problem.isEmpty()) {
        environment.err(QStringLiteral("\"%1\" cannot name a profile: it %2.").arg(request.name, problem));
        return Usage;
    }
    CliGame game(environment);
    if (const int code = game.open(request.game); code != Done)
        return code;
    if (const int code = game.need(settingNames(), false); code != Done)
        return code;
    // The settings the files hold, as the window shows them once read.
    QStringList held;
    for (const QString &name : settingNames()) {
        if (game.fileValue(name))
            held << name;
    }
    const Profile profile{request.name, takeValues(game.controls(), held, game.session().readValues())};
    const ValueCheck check = checkValues(profile.values, game.session().readValues());
    if (!check.refused.isEmpty()) {
        for (const QString &refused : check.refused)
            environment.err(refused);
        environment.err(QStringLiteral("The profile was not saved."));
        return Refused;
    }
    const bool replaced = fileExists(profilePath(profilesHome(environment), request.name));
    if (const QString problem = storeProfile(profilesHome(environment), profile); !problem.isEmpty()) {
        environment.err(problem);
        return WriteFailed;
    }
    if (replaced)
        environment.err(QStringLiteral("The profile \"%1\" was replaced.").arg(request.name));
    return Done;
}

int applyProfile(const Request &request, const Environment &environment)
{
    Profile profile;
    if (const int code = findProfile(request.name, environment, profile); code != Done)
        return code;
    const QStringList unknown = checkValues(profile.values, {}).unknown;
    reportUnknown(profile, unknown, environment);
    ProfileValues known = profile.values;
    for (const QString &name : unknown)
        known.remove(name);
    CliGame game(environment);
    if (const int code = game.open(request.game); code != Done)
        return code;
    if (const int code = game.need(known.keys(), true); code != Done)
        return code;
    return game.write(known, request.force);
}

int exportProfile(const Request &request, const Environment &environment)
{
    Profile profile;
    if (const int code = findProfile(request.name, environment, profile); code != Done)
        return code;
    if (const QString problem = tarnwell::exportProfile(absolute(request.file), profile); !problem.isEmpty()) {
        environment.err(problem);
        return WriteFailed;
    }
    return Done;
}

int importProfile(const Request &request, const Environment &environment)
{
    const ProfileFile file = readProfileFile(absolute(request.file));
    if (file.status != ProfileFile::Read) {
        environment.err(file.problem);
        return file.status == ProfileFile::Missing ? Usage : Refused;
    }
    const Profile &profile = file.profile;
    if (const QString problem = profileNameProblem(profile.name); !problem.isEmpty()) {
        environment.err(QStringLiteral("%1 names its profile \"%2\", which cannot name a profile: it %3.")
                            .arg(file.path, profile.name, problem));
        return Refused;
    }
    // Nothing of the game's is known here: every value must be one its setting takes.
    const ValueCheck check = checkValues(profile.values, {});
    if (!check.refused.isEmpty()) {
        for (const QString &refused : check.refused)
            environment.err(refused);
        environment.err(QStringLiteral("The profile was not imported."));
        return Refused;
    }
    reportUnknown(profile, check.unknown, environment);
    const bool replaced = fileExists(profilePath(profilesHome(environment), profile.name));
    if (const QString problem = storeProfile(profilesHome(environment), profile); !problem.isEmpty()) {
        environment.err(problem);
        return WriteFailed;
    }
    if (replaced)
        environment.err(QStringLiteral("The profile \"%1\" was replaced.").arg(profile.name));
    environment.out(profile.name.toLocal8Bit() + '\n');
    return Done;
}

int profiles(const Request &, const Environment &environment)
{
    QByteArray names;
    for (const QString &name : listProfiles(profilesHome(environment)).names)
        names += name.toLocal8Bit() + '\n';
    environment.out(names);
    return Done;
}

} // namespace tarnwell::cli
