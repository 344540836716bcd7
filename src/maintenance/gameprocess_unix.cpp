// SPDX-License-Identifier: MIT
// The running game on systems with /proc: each process's executable and command line.
#include "maintenance/gameprocess.h"

#include "files/pathcase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace tarnwell {

namespace {

QByteArray readProcFile(const QString &path)
{
    // /proc files report no size; a command line or environment is rarely more than a few pages.
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(1 << 20) : QByteArray();
}

QString canonical(const QString &path)
{
    const QString onDisk = resolveCase(path);
    const QString resolved = QFileInfo(onDisk).canonicalFilePath();
    return resolved.isEmpty() ? QDir::cleanPath(onDisk) : resolved;
}

// The Unix folder behind a drive letter, as the process's compatibility layer maps it.
QString driveFolder(QChar letter, const QList<QByteArray> &environment)
{
    QString prefix, home;
    for (const QByteArray &entry : environment) {
        if (entry.startsWith("WINEPREFIX="))
            prefix = QFile::decodeName(entry.mid(11));
        else if (entry.startsWith("HOME="))
            home = QFile::decodeName(entry.mid(5));
    }
    if (prefix.isEmpty() && !home.isEmpty())
        prefix = home + QStringLiteral("/.wine");
    const QString mapped = QFileInfo(prefix + QStringLiteral("/dosdevices/") + letter.toLower() + QLatin1Char(':'))
                               .canonicalFilePath();
    // Z: is the whole file system unless the prefix says otherwise.
    if (mapped.isEmpty() && letter.toLower() == QLatin1Char('z'))
        return QStringLiteral("/");
    return mapped;
}

struct Game {
    QString path; // canonical
    QString name; // as registered, which is the name a compatibility layer is given
};

// Whether a process's first argument names the game, as a compatibility layer sets it: a Windows
// path (any letter case, its drive mapped as that process maps it) or the native path itself.
bool namesGame(const QByteArray &argument, const Game &game, int pid)
{
    QString path = QFile::decodeName(argument);
    // A cheap test first: most programs are not called by the executable's name at all.
    if (!path.endsWith(game.name, Qt::CaseInsensitive))
        return false;
    const bool windowsForm = path.size() > 3 && path[0].isLetter() && path[1] == QLatin1Char(':')
        && (path[2] == QLatin1Char('\\') || path[2] == QLatin1Char('/'));
    if (windowsForm) {
        const QByteArray environment = readProcFile(QStringLiteral("/proc/%1/environ").arg(pid));
        const QString folder = driveFolder(path[0], environment.split('\0'));
        if (folder.isEmpty())
            return false;
        path = folder + QLatin1Char('/') + path.mid(3).replace(QLatin1Char('\\'), QLatin1Char('/'));
        return sameWindowsPath(canonical(path), game.path);
    }
    // A relative path ("wine binaries/qvx.exe") from where the process runs, with either separator,
    // and in any letter case, as the compatibility layer finds the file: only such a layer calls a
    // program by a name that differs from the file's.
    if (!path.startsWith(QLatin1Char('/'))) {
        const QString folder = QFileInfo(QStringLiteral("/proc/%1/cwd").arg(pid)).canonicalFilePath();
        if (folder.isEmpty())
            return false;
        path = folder + QLatin1Char('/') + path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    return canonical(path) == game.path;
}

} // namespace

bool isGameRunning(const QString &exePath)
{
    if (exePath.isEmpty())
        return false;
    const Game game{canonical(exePath), QFileInfo(exePath).fileName()};
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : pids) {
        bool number = false;
        const int pid = name.toInt(&number);
        if (!number || pid == int(::getpid()))
            continue;
        // Only what the process runs counts, never what it merely names (a viewer, a checksum, a backup).
        if (QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget() == game.path)
            return true;
        const QByteArray arguments = readProcFile(QStringLiteral("/proc/%1/cmdline").arg(pid));
        const QByteArray first = arguments.left(arguments.indexOf('\0'));
        if (!first.isEmpty() && namesGame(first, game, pid))
            return true;
    }
    return false;
}

} // namespace tarnwell
