// SPDX-License-Identifier: MIT
#include "settings/profilestore.h"

#include "files/filecontent.h"
#include "files/pathcase.h"
#include "files/toolfiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tarnwell {

namespace {

const QLatin1String kSuffix(".json");

QString nameOfFile(const QString &fileName)
{
    return fileName.chopped(kSuffix.size());
}

} // namespace

ProfileList listProfiles(const QString &folder)
{
    const QDir dir(folder);
    ProfileList list{{}, dir.exists()};
    const QStringList files = dir.entryList({QStringLiteral("*.json")}, QDir::Files | QDir::Readable);
    for (const QString &file : files) {
        if (file.endsWith(kSuffix, Qt::CaseInsensitive) && profileNameProblem(nameOfFile(file)).isEmpty())
            list.names << nameOfFile(file);
    }
    std::sort(list.names.begin(), list.names.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return list;
}

QString profilePath(const QString &folder, const QString &name)
{
    // The name as the folder spells it: Windows finds any letter case by itself, but would not say
    // how the file is spelled, and the file's name is the profile's.
    QString spelled = name + kSuffix;
    for (const QString &file : QDir(folder).entryList({QStringLiteral("*.json")}, QDir::Files)) {
        if (file == name + kSuffix)
            return QDir::toNativeSeparators(folder + QLatin1Char('/') + file);
        if (file.compare(name + kSuffix, Qt::CaseInsensitive) == 0)
            spelled = file;
    }
    return QDir::toNativeSeparators(folder + QLatin1Char('/') + spelled);
}

ProfileFile readProfileFile(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    ProfileFile result{ProfileFile::Missing, {}, shown, {}};
    if (!fileExists(path)) {
        const QString odd = notRegularReason(resolveCase(path));
        result.status = odd.isEmpty() ? ProfileFile::Missing : ProfileFile::Broken;
        result.problem = odd.isEmpty() ? QStringLiteral("%1 does not exist.").arg(shown)
                                       : QStringLiteral("%1 cannot be read: %2.").arg(shown, odd);
        return result;
    }
    const FileBytes file = readWholeFile(resolveCase(path), kProfileFileLimit);
    result.status = ProfileFile::Broken;
    if (!file.ok()) {
        result.problem = QStringLiteral("%1 cannot be read: %2.").arg(shown, file.error);
        return result;
    }
    QString fallback = QFileInfo(path).fileName();
    if (fallback.endsWith(kSuffix, Qt::CaseInsensitive))
        fallback = nameOfFile(fallback);
    const ParsedProfile parsed = parseProfile(file.bytes, fallback);
    if (!parsed.ok()) {
        result.problem = QStringLiteral("%1 cannot be used as a profile. %2").arg(shown, parsed.problem);
        return result;
    }
    result.status = ProfileFile::Read;
    result.profile = parsed.profile;
    return result;
}

ProfileFile loadProfile(const QString &folder, const QString &name)
{
    ProfileFile file = readProfileFile(profilePath(folder, name));
    if (file.status == ProfileFile::Missing)
        file.problem = QStringLiteral("There is no profile named \"%1\" in %2.").arg(name, QDir::toNativeSeparators(folder));
    // The file's name is the profile's, whatever the file says: it is what the lists show.
    if (file.status == ProfileFile::Read)
        file.profile.name = nameOfFile(QFileInfo(file.path).fileName());
    return file;
}

QString storeProfile(const QString &folder, const Profile &profile)
{
    return exportProfile(profilePath(folder, profile.name), profile);
}

QString exportProfile(const QString &path, const Profile &profile)
{
    const QString problem = writeToolFile(path, profileJson(profile));
    return problem.isEmpty() ? QString()
                             : QStringLiteral("%1 could not be written: %2").arg(QDir::toNativeSeparators(path), problem);
}

QString deleteProfile(const QString &folder, const QString &name)
{
    const QString path = profilePath(folder, name);
    const QString problem = removeToolFile(path);
    return problem.isEmpty() ? QString() : QStringLiteral("%1 could not be deleted: %2").arg(path, problem);
}

QString firstFoundPath(const QString &toolFolder, const QString &gameFolder)
{
    // One file per installation, named by its folder's digest: any path gives a short, plain name.
    const QByteArray digest = QCryptographicHash::hash(QDir::toNativeSeparators(gameFolder).toUtf8(),
                                                       QCryptographicHash::Sha256);
    return QDir::toNativeSeparators(toolFolder + QStringLiteral("/first-found/")
                                    + QString::fromLatin1(digest.toHex().left(16)) + kSuffix);
}

QString keepFirstFound(const QString &toolFolder, const QString &gameFolder, const QMap<QString, QString> &values)
{
    const QString path = firstFoundPath(toolFolder, gameFolder);
    ProfileFile kept = readProfileFile(path);
    if (kept.status == ProfileFile::Broken)
        return kept.problem;
    Profile profile = kept.status == ProfileFile::Read ? kept.profile : Profile{QString(kFirstFoundName), {}, {}};
    profile.game = QDir::toNativeSeparators(gameFolder);
    bool added = false;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!profile.values.contains(it.key())) {
            profile.values.insert(it.key(), it.value());
            added = true;
        }
    }
    return added ? exportProfile(path, profile) : QString();
}

} // namespace tarnwell
