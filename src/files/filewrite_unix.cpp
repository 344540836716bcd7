// SPDX-License-Identifier: MIT
// POSIX: the new content goes into a file made new (O_EXCL|O_NOFOLLOW) in the target's folder, as
// reached by reachFile(), is synced, takes the old file's permissions and owner, and is exchanged with
// the target in one step. What was exchanged out is looked at once more: a change made in that very
// moment is put back, and nothing of it is lost.
#include "files/filecontent.h"
#include "files/filewrite_p.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwell {

namespace {

constexpr qint64 kLookAtBytes = 4 << 20; // read again before a replace: cheap at this size
constexpr qsizetype kChunk = 64 << 10;

bool unsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP;
}

// The new content under a name of the tool's own; gone again unless it took the target's place.
class Temporary
{
public:
    explicit Temporary(int folder) : m_folder(folder)
    {
        for (int attempt = 0; m_fd < 0 && attempt < 16; ++attempt) {
            m_name = kTemporaryPrefix + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
            m_fd = ::openat(m_folder, m_name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        m_error = m_fd < 0 ? errno : 0;
    }
    ~Temporary()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_placed && !m_name.isEmpty())
            ::unlinkat(m_folder, m_name.constData(), 0);
    }
    Temporary(const Temporary &) = delete;
    Temporary &operator=(const Temporary &) = delete;

    int fd() const { return m_fd; }
    const char *name() const { return m_name.constData(); }
    int error() const { return m_error; }
    void placed() { m_placed = true; } // it bears the target's name now

private:
    int m_folder;
    int m_fd = -1;
    int m_error = 0;
    QByteArray m_name;
    bool m_placed = false;
};

// 0 when the whole content is on the disk; else the system's error.
int writeAll(int fd, const Producer &content)
{
    int error = 0;
    const bool produced = content([fd, &error](QByteArrayView chunk) {
        for (qsizetype at = 0; at < chunk.size();) {
            const ssize_t put = ::write(fd, chunk.data() + at, size_t(chunk.size() - at));
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                error = put < 0 ? errno : EIO;
                return false;
            }
            at += put;
        }
        return true;
    });
    if (error == 0 && !produced)
        error = EIO;
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    return error;
}

FileStamp stampIn(int folder, const char *name)
{
    struct stat info = {};
    if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode))
        return {};
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

// Compares what `name` holds with the content, a piece at a time.
Comparison compareIn(int folder, const char *name, const Producer &expected)
{
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {Comparison::Failed, qt_error_string(errno)};
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {Comparison::Failed, file.errorString()};
    }
    QByteArray buffer(kChunk, Qt::Uninitialized);
    bool same = true;
    QString error;
    expected([&](QByteArrayView chunk) {
        while (same && !chunk.isEmpty()) {
            const qint64 got = file.read(buffer.data(), std::min(chunk.size(), kChunk));
            if (got < 0)
                error = file.errorString();
            same = got > 0 && std::memcmp(buffer.constData(), chunk.data(), size_t(got)) == 0;
            chunk = chunk.sliced(same ? got : chunk.size());
        }
        return same;
    });
    char more = 0;
    if (same && error.isEmpty())
        same = file.read(&more, 1) == 0;
    if (!error.isEmpty())
        return {Comparison::Failed, error};
    return {same ? Comparison::Same : Comparison::Different, {}};
}

// Whether `name` still is the file that was read, and for a small one, still holds its bytes.
bool stillHolds(int folder, const char *name, const FileBytes &expected)
{
    if (stampIn(folder, name) != expected.stamp)
        return false;
    return expected.bytes.size() > kLookAtBytes
        || compareIn(folder, name, [&expected](const ChunkSink &sink) { return sink(expected.bytes); }).result
        == Comparison::Same;
}

// The old file's permissions, owner and group go to the new one, so that a game running as the player
// can still write its own settings; a new file gets what the user's umask leaves.
mode_t takeOver(int folder, const char *name, bool exists, int fd)
{
    struct stat old = {};
    if (!exists || ::fstatat(folder, name, &old, AT_SYMLINK_NOFOLLOW) != 0) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        const mode_t fresh = 0666 & ~mask;
        ::fchmod(fd, fresh);
        return fresh;
    }
    if (::fchown(fd, old.st_uid, old.st_gid) != 0)
        static_cast<void>(::fchown(fd, uid_t(-1), old.st_gid)); // the group alone, where allowed
    ::fchmod(fd, old.st_mode & 07777);
    return old.st_mode & 07777;
}

// Waits, a second at most, while another process of the user's (all of them, for the superuser) holds
// the file `name` open for writing: one that opened it before the exchange still writes into it, and
// its change is seen only once it is done. Linux says which files a process holds; elsewhere, and for
// processes that cannot be looked into, there is no wait.
void waitForWriters(int folder, const char *name)
{
#ifdef Q_OS_LINUX
    struct stat file = {};
    if (::fstatat(folder, name, &file, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    const auto heldForWriting = [&file] {
        const QByteArray self = QByteArray::number(::getpid());
        DIR *processes = ::opendir("/proc");
        if (!processes)
            return false;
        bool held = false;
        while (const dirent *process = held ? nullptr : ::readdir(processes)) {
            if (process->d_name[0] < '1' || process->d_name[0] > '9' || self == process->d_name)
                continue;
            const QByteArray fds = QByteArrayLiteral("/proc/") + process->d_name + "/fd";
            DIR *open = ::opendir(fds.constData());
            if (!open)
                continue; // another user's, or gone
            while (const dirent *fd = held ? nullptr : ::readdir(open)) {
                struct stat target = {};
                if (fd->d_name[0] == '.' || ::stat((fds + '/' + fd->d_name).constData(), &target) != 0
                    || target.st_dev != file.st_dev || target.st_ino != file.st_ino)
                    continue;
                // The flags of the open file, in octal, on the line "flags:".
                QFile info(QString::fromLatin1(fds + "info/" + fd->d_name));
                const QByteArray text = info.open(QIODevice::ReadOnly) ? info.readAll() : QByteArray();
                const qsizetype at = text.indexOf("flags:");
                const qsizetype end = text.indexOf('\n', at);
                const int flags = at < 0 ? 0 : text.mid(at + 6, end - at - 6).trimmed().toInt(nullptr, 8);
                held = (flags & O_ACCMODE) != O_RDONLY;
            }
            ::closedir(open);
        }
        ::closedir(processes);
        return held;
    };
    QElapsedTimer waited;
    waited.start();
    while (heldForWriting() && !waited.hasExpired(1000))
        ::usleep(5000);
#else
    Q_UNUSED(folder);
    Q_UNUSED(name);
#endif
}

enum class Placed { Done, Changed, Failed };

// Puts the new content in the target's place in one step. Exchanged rather than renamed over, the
// old file can be looked at once more where the new one stood: when it changed in that very moment,
// the two are exchanged back, and the change stays.
Placed place(const FileTarget &target, Temporary &temporary, const FileBytes *expected, int &error)
{
    const int folder = target.folder.handle();
    const QByteArray name = QFile::encodeName(target.name);
    const unsigned how = target.exists ? RENAME_EXCHANGE : RENAME_NOREPLACE;
    if (::renameat2(folder, temporary.name(), folder, name.constData(), how) == 0) {
        if (target.exists && expected)
            waitForWriters(folder, temporary.name());
        if (target.exists && expected && !stillHolds(folder, temporary.name(), *expected)) {
            ::renameat2(folder, temporary.name(), folder, name.constData(), RENAME_EXCHANGE);
            return Placed::Changed;
        }
        if (!target.exists)
            temporary.placed();
        return Placed::Done; // the old content, under the temporary name, goes with it
    }
    error = errno;
    if (error == EEXIST)
        return Placed::Changed; // made meanwhile, by someone else
    if (!unsupported(error))
        return Placed::Failed;
    // A file system that can do neither: the last look was the one before.
    if (!target.exists && ::linkat(folder, temporary.name(), folder, name.constData(), 0) == 0)
        return Placed::Done;
    if (::renameat(folder, temporary.name(), folder, name.constData()) != 0) {
        error = errno;
        return error == EEXIST ? Placed::Changed : Placed::Failed;
    }
    temporary.placed();
    return Placed::Done;
}

} // namespace

FileWrite writeAtomically(const QString &path, const Producer &content, const WriteOptions &options)
{
    const FileTarget target = reachFile(path, options.reach);
    if (!target.ok())
        return notWritten(target.problem);
    removeStaleTemporaries(target.folder);
    const int folder = target.folder.handle();
    const QByteArray name = QFile::encodeName(target.name);
    Temporary temporary(folder);
    if (temporary.fd() < 0)
        return notWritten(qt_error_string(temporary.error()));
    const mode_t mode = takeOver(folder, name.constData(), target.exists, temporary.fd());
    if (const int error = writeAll(temporary.fd(), content); error != 0)
        return notWritten(qt_error_string(error));
    // The last look, once the new content is complete on the disk: right before it takes the place.
    if (options.expected && (target.exists ? !stillHolds(folder, name.constData(), *options.expected)
                                           : stampIn(folder, name.constData()).size >= 0))
        return {false, {}, {}, true};
    int error = 0;
    const Placed placed = place(target, temporary, options.expected, error);
    if (placed == Placed::Changed)
        return {false, {}, {}, true};
    if (placed == Placed::Failed)
        return notWritten(qt_error_string(error));
    ::fsync(folder);

    struct stat now = {};
    const bool lostReadOnly = !(mode & 0222) && ::fstat(temporary.fd(), &now) == 0 && (now.st_mode & 0222);
    if (const FileWrite checked = readBack(compareIn(folder, name.constData(), content)); !checked.ok())
        return checked;
    if (lostReadOnly) // some file systems take the bits and keep none of them (a Windows disk mounted without them)
        return {true, QStringLiteral("It was written, but its permissions could not be set back: its file system does "
                                     "not keep the read-only mark, so it is no longer read-only.")};
    return {true, {}};
}

} // namespace tarnwell
