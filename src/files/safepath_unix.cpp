// SPDX-License-Identifier: MIT
// POSIX: the walk opens each folder with O_PATH|O_DIRECTORY|O_NOFOLLOW relative to the one before,
// reads a link itself where one stands, and decides on fstat() of what it opened.
#include "files/safepath.h"

#include "files/openfile.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

WalkedFolder::~WalkedFolder()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

WalkedFolder::WalkedFolder(WalkedFolder &&other) noexcept
    : m_handle(std::exchange(other.m_handle, -1))
    , m_path(std::move(other.m_path))
{
}

WalkedFolder &WalkedFolder::operator=(WalkedFolder &&other) noexcept
{
    if (this != &other) {
        if (m_handle >= 0)
            ::close(m_handle);
        m_handle = std::exchange(other.m_handle, -1);
        m_path = std::move(other.m_path);
    }
    return *this;
}

namespace {

constexpr int kMaxLinks = 40; // as the system itself follows at most

QString userName(uid_t uid)
{
    struct passwd entry = {};
    struct passwd *found = nullptr;
    char buffer[1024];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return QStringLiteral("%1 (user id %2)").arg(QFile::decodeName(found->pw_name)).arg(uid);
    return QStringLiteral("user id %1").arg(uid);
}

// A sticky folder (as /tmp) lets others add to it, but not take away or swap what is not theirs.
bool othersMayWrite(const struct stat &info)
{
    return !(info.st_mode & S_ISVTX) && (info.st_mode & (S_IWGRP | S_IWOTH));
}

// Walks a path one component at a time from the root, never re-opening what it checked.
class Walker
{
public:
    explicit Walker(bool makeFolders) : m_me(::geteuid()), m_make(makeFolders) {}
    ~Walker()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }

    QString problem;
    uid_t other = 0;       // the first other user met on the way (0: none)
    bool followedLink = false;

    // To the folder that holds the last component of `path` (`toEnd`: through the last one too).
    bool walk(const QString &path, bool toEnd, QString &last)
    {
        m_pending = QDir::fromNativeSeparators(QDir(path).absolutePath()).split(u'/', Qt::SkipEmptyParts);
        return restart() && walkPending(toEnd, last);
    }

    // The link `name` at the end of the walk is followed to the file it names.
    bool followFinal(const QString &name, QString &last)
    {
        m_pending.clear();
        return followLink(name) && walkPending(false, last);
    }

    // Another user's folder, file or link met on the way: the walk's rules become the strict ones.
    void meet(uid_t owner)
    {
        if (owner != m_me && owner != 0 && other == 0)
            other = owner;
    }

    int fd() const { return m_fd; }
    int take() { return std::exchange(m_fd, -1); }
    QString folderPath() const { return QLatin1Char('/') + m_resolved.join(u'/'); }
    // The superuser, or someone walking where another user has a say: no links, no folders open to others.
    bool strict() const { return m_me == 0 || other != 0; }
    uid_t me() const { return m_me; }

private:
    bool walkPending(bool toEnd, QString &last)
    {
        m_pending.removeAll(QStringLiteral("."));
        while (m_pending.size() > (toEnd ? 0 : 1)) {
            if (!step(m_pending.takeFirst()))
                return false;
        }
        last = toEnd ? QString() : m_pending.value(0);
        if (!toEnd && (last.isEmpty() || last == QLatin1String(".."))) {
            problem = QStringLiteral("it names a folder, not a file");
            return false;
        }
        return true;
    }

    // The link at `name` in the current folder is followed: the walk goes on along its target.
    bool followLink(const QString &name)
    {
        char target[4096];
        const ssize_t length = ::readlinkat(m_fd, QFile::encodeName(name).constData(), target, sizeof target - 1);
        if (length < 0 || ++m_links > kMaxLinks) {
            problem = length < 0 ? qt_error_string(errno) : qt_error_string(ELOOP);
            return false;
        }
        const QString text = QFile::decodeName(QByteArray(target, int(length)));
        m_pending = text.split(u'/', Qt::SkipEmptyParts) + m_pending;
        followedLink = true;
        return !text.startsWith(u'/') || restart();
    }

    bool restart()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_resolved.clear();
        m_fd = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0)
            problem = qt_error_string(errno);
        return m_fd >= 0;
    }

    bool step(const QString &name)
    {
        if (name == QLatin1String("..")) {
            if (m_resolved.isEmpty())
                return true;
            return enter(::openat(m_fd, "..", O_PATH | O_DIRECTORY | O_CLOEXEC), QString());
        }
        const QByteArray encoded = QFile::encodeName(name);
        int next = ::openat(m_fd, encoded.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        // Made for the user alone; made by another write at the same moment, it is there all the same.
        if (next < 0 && errno == ENOENT && m_make && other == 0
            && (::mkdirat(m_fd, encoded.constData(), 0700) == 0 || errno == EEXIST))
            next = ::openat(m_fd, encoded.constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next >= 0)
            return enter(next, name);
        const int error = errno;
        struct stat info = {};
        if ((error == ELOOP || error == ENOTDIR) && ::fstatat(m_fd, encoded.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0
            && S_ISLNK(info.st_mode)) {
            meet(info.st_uid); // a link of another user's leads wherever that user wants
            return followLink(name);
        }
        problem = error == ENOENT ? QStringLiteral("the folder %1 does not exist").arg(folderPath() + u'/' + name)
                : error == ENOTDIR ? QStringLiteral("%1 is not a folder").arg(folderPath() + u'/' + name)
                                    : QStringLiteral("%1: %2").arg(folderPath() + u'/' + name, qt_error_string(error));
        return false;
    }

    bool enter(int next, const QString &name)
    {
        if (next < 0) {
            problem = qt_error_string(errno);
            return false;
        }
        struct stat info = {};
        if (::fstat(next, &info) != 0) {
            problem = qt_error_string(errno);
            ::close(next);
            return false;
        }
        meet(info.st_uid);
        ::close(m_fd);
        m_fd = next;
        if (name.isEmpty())
            m_resolved.removeLast();
        else
            m_resolved.append(name);
        return true;
    }

    uid_t m_me;
    bool m_make;
    int m_fd = -1;
    int m_links = 0;
    QStringList m_pending;
    QStringList m_resolved;
};

// Why the file in the walked folder may not be changed by a program of elevated trust: the folder,
// or a sticky folder's file, can be changed meanwhile by another user.
QString foreignFolderProblem(Walker &walker, const struct stat &folder, const struct stat *file)
{
    const QString where = QDir::toNativeSeparators(walker.folderPath());
    if (folder.st_uid != walker.me() && folder.st_uid != 0)
        return QStringLiteral("it lies in %1, a folder that belongs to %2").arg(where, userName(folder.st_uid));
    if (othersMayWrite(folder))
        return QStringLiteral("it lies in %1, a folder that other users can write in (mode %2)")
            .arg(where)
            .arg(folder.st_mode & 07777, 4, 8, QLatin1Char('0'));
    if (file && (folder.st_mode & (S_IWGRP | S_IWOTH)) && file->st_uid != walker.me() && file->st_uid != 0)
        return QStringLiteral("it belongs to %1, in %2, a folder that anybody can write in").arg(userName(file->st_uid), where);
    return {};
}

QString refusal(Walker &walker, const QString &problem)
{
    const QString runAs = walker.other ? userName(walker.other) : QStringLiteral("the user it belongs to");
    return QStringLiteral("%1, and Tarnwell, running as %2, does not change a file there that another user could "
                          "swap meanwhile; run Tarnwell as %3 to change it")
        .arg(problem, userName(walker.me()), runAs);
}

} // namespace

FileTarget reachFile(const QString &path, Reach reach)
{
    FileTarget target;
    target.path = QDir::toNativeSeparators(path);
    Walker walker(reach == Reach::ToolWrite);
    QString name;
    struct stat file = {};
    bool exists = false;
    bool walked = walker.walk(path, false, name);
    // A link at the end is followed for a write where the user may follow it: a settings file kept in
    // a synced folder, say.
    while (walked) {
        exists = ::fstatat(walker.fd(), QFile::encodeName(name).constData(), &file, AT_SYMLINK_NOFOLLOW) == 0;
        if (!exists || !S_ISLNK(file.st_mode) || reach == Reach::Remove)
            break;
        walker.meet(file.st_uid);
        if (walker.strict()) {
            target.problem = refusal(walker, QStringLiteral("it is a symbolic link"));
            return target;
        }
        walked = walker.followFinal(name, name);
    }
    if (!walked) {
        target.problem = walker.problem;
        return target;
    }
    if (exists) {
        walker.meet(file.st_uid);
        if (!S_ISREG(file.st_mode) && !(reach == Reach::Remove && S_ISLNK(file.st_mode))) {
            target.problem = typeReason(file.st_mode);
            return target;
        }
    }
    struct stat folder = {};
    if (::fstat(walker.fd(), &folder) != 0) {
        target.problem = qt_error_string(errno);
        return target;
    }
    if (walker.strict()) {
        QString problem = foreignFolderProblem(walker, folder, exists ? &file : nullptr);
        if (problem.isEmpty() && walker.followedLink && walker.other)
            problem = QStringLiteral("a link of %1 leads to it").arg(userName(walker.other));
        if (!problem.isEmpty()) {
            target.problem = refusal(walker, problem);
            return target;
        }
    }
    target.folder = WalkedFolder(walker.take(), QDir::toNativeSeparators(walker.folderPath()));
    target.name = name;
    target.path = QDir::toNativeSeparators(QDir(target.folder.path()).filePath(name));
    target.exists = exists;
    return target;
}

WalkedFolder reachFolder(const QString &path, QString &problem, bool make)
{
    Walker walker(make);
    QString unused;
    if (!walker.walk(path, true, unused)) {
        problem = walker.problem;
        return {};
    }
    struct stat folder = {};
    if (::fstat(walker.fd(), &folder) != 0) {
        problem = qt_error_string(errno);
        return {};
    }
    if (walker.strict()) {
        QString foreign = foreignFolderProblem(walker, folder, nullptr);
        // Another user's link chose this folder, however safe the folder itself is.
        if (foreign.isEmpty() && walker.followedLink && walker.other)
            foreign = QStringLiteral("a link of %1 leads to it").arg(userName(walker.other));
        if (!foreign.isEmpty()) {
            problem = refusal(walker, foreign.replace(QStringLiteral("it lies in "), QStringLiteral("it is ")));
            return {};
        }
    }
    return WalkedFolder(walker.take(), QDir::toNativeSeparators(walker.folderPath()));
}

QString foreignReason(const QString &path)
{
    Walker walker(false);
    QString name;
    if (!walker.walk(path, false, name))
        return {};
    struct stat file = {}, folder = {};
    const bool exists = ::fstatat(walker.fd(), QFile::encodeName(name).constData(), &file, AT_SYMLINK_NOFOLLOW) == 0;
    if (!exists || ::fstat(walker.fd(), &folder) != 0)
        return {};
    walker.meet(file.st_uid);
    if (walker.other)
        return QStringLiteral("it, or a folder on its way, belongs to %1").arg(userName(walker.other));
    if (othersMayWrite(folder))
        return QStringLiteral("other users can write in its folder %1").arg(QDir::toNativeSeparators(walker.folderPath()));
    if (S_ISLNK(file.st_mode) && file.st_uid != walker.me())
        return QStringLiteral("it is a link of %1").arg(userName(file.st_uid));
    return {};
}

namespace {

// Each entry directly in the folder, as reached, with what fstatat() says of it (links not followed).
template <typename Visit>
void forEachEntry(const WalkedFolder &folder, Visit &&visit)
{
    const int listed = ::openat(folder.handle(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (!entries) {
        if (listed >= 0)
            ::close(listed);
        return;
    }
    while (const struct dirent *entry = ::readdir(entries)) {
        struct stat info = {};
        if (::fstatat(folder.handle(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0)
            visit(entry->d_name, info);
    }
    ::closedir(entries);
}

} // namespace

QStringList filesIn(const WalkedFolder &folder)
{
    QStringList names;
    forEachEntry(folder, [&names](const char *name, const struct stat &info) {
        if (S_ISREG(info.st_mode))
            names << QFile::decodeName(name);
    });
    return names;
}

void removeStaleTemporaries(const WalkedFolder &folder)
{
    const time_t minuteAgo = ::time(nullptr) - 60;
    const size_t prefix = sizeof kTemporaryPrefix - 1;
    forEachEntry(folder, [&](const char *name, const struct stat &info) {
        if (std::strncmp(name, kTemporaryPrefix, prefix) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
            && info.st_mtime < minuteAgo)
            ::unlinkat(folder.handle(), name, 0);
    });
}

} // namespace tarnwell
