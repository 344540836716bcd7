// SPDX-License-Identifier: MIT
#include "files/toolfiles.h"

#include "files/filecontent.h"
#include "files/fileremoval.h"
#include "files/pathcase.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

// Where the installed data and modules lie, seen from the installed program's folder; the build
// sets them from its install folders, so an installed tree can be moved as a whole.
#ifndef TARNWELL_DATA_FROM_BIN
#define TARNWELL_DATA_FROM_BIN "../share/tarnwell"
#endif
#ifndef TARNWELL_MODULES_FROM_BIN
#define TARNWELL_MODULES_FROM_BIN "../lib/tarnwell"
#endif

namespace tarnwell {

namespace {

QString besideProgram(const QString &programFolder, const QString &slashed)
{
    // The program's folder comes with forward slashes on Windows too; the whole path is shown in messages.
    return native(programFolder + slashed);
}

QString installed(const QString &programFolder, const QString &slashed)
{
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::fromNativeSeparators(programFolder) + slashed));
}

bool canWriteIn(const QString &folder)
{
    // Only trying answers truly: permission bits say nothing for the superuser, nor for Windows'
    // access lists. The probe removes itself.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".tarnwell-XXXXXX")));
    return probe.open();
}

bool isInstalled(const QString &programFolder)
{
    return !fileExists(besideProgram(programFolder, QStringLiteral("/dat/QVX.dat")))
        && fileExists(installed(programFolder, QStringLiteral("/" TARNWELL_DATA_FROM_BIN "/dat/QVX.dat")));
}

} // namespace

QString userToolFolder()
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("/Tarnwell");
#else
    const QString name = QStringLiteral("/tarnwell");
#endif
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + name);
}

QString profilesFolder(const QString &toolFolder)
{
    return QDir::toNativeSeparators(toolFolder + QStringLiteral("/profiles"));
}

QString backupsFolder()
{
    // ~/.local/share on Linux (or $XDG_DATA_HOME), the local application data folder on Windows.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/tarnwell/backups");
}

QString configFilePath(const QString &programFolder)
{
    const QString beside = besideProgram(programFolder, QStringLiteral("/Tarnwell.dat"));
    // An installed program keeps its user's choice out of the shared program folder, even when
    // the superuser could write there.
    if (QFileInfo::exists(resolveCase(beside))
        || (!isInstalled(programFolder) && canWriteIn(programFolder)))
        return beside;
    return userToolFolder() + native(QStringLiteral("/Tarnwell.dat"));
}

QString versionListPath(const QString &programFolder)
{
    const QString beside = besideProgram(programFolder, QStringLiteral("/dat/QVX.dat"));
    return isInstalled(programFolder)
        ? installed(programFolder, QStringLiteral("/" TARNWELL_DATA_FROM_BIN "/dat/QVX.dat"))
        : beside;
}

QString findBannerModule(const QString &programFolder)
{
#ifdef Q_OS_WIN
    const QString name = QStringLiteral("/tarnwell_banner.dll");
#else
    const QString name = QStringLiteral("/libtarnwell_banner.so");
#endif
    for (const QString &path : {besideProgram(programFolder, name),
                                installed(programFolder, QStringLiteral("/" TARNWELL_MODULES_FROM_BIN) + name)}) {
        if (fileExists(path))
            return path;
    }
    return QString();
}

QString writeToolFile(const QString &path, const QByteArray &bytes)
{
    WriteOptions tool;
    tool.reach = Reach::ToolWrite; // its folders made on the way, for the user alone
    const FileWrite written = writeAtomically(path, [&bytes](const ChunkSink &sink) { return sink(bytes); }, tool);
    return written.ok() ? QString() : written.replaced ? written.problem : written.reason;
}

QString removeToolFile(const QString &path)
{
    if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        return {};
    return removeFile(path);
}

} // namespace tarnwell
