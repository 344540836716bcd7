// SPDX-License-Identifier: MIT
// Unix: the desktop's opener, xdg-open, started directly (no shell reads the address) and watched
// beside the window until it ends.
#include "maintenance/urlopener.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <chrono>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char **environ;

namespace tarnwell {

namespace {

// Long enough for an opener that fails to say so; one that hands over to a program running on (a
// game store's client) is not waited for beyond it.
constexpr auto kWatched = std::chrono::seconds(30);

QString endReason(int status)
{
    if (WIFEXITED(status))
        return QStringLiteral("the program that opens it (xdg-open) ended with exit status %1").arg(WEXITSTATUS(status));
    return QStringLiteral("the program that opens it (xdg-open) was ended by signal %1").arg(WTERMSIG(status));
}

} // namespace

void openAddress(const QString &address, const AddressOpened &done)
{
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        done(false, QStringLiteral("no program on this system opens it (xdg-open was not found)"));
        return;
    }
    QByteArray program = QFile::encodeName(opener);
    QByteArray operand = address.toUtf8();
    char *argv[] = {program.data(), operand.data(), nullptr};
    pid_t pid = 0;
    if (const int error = ::posix_spawn(&pid, program.constData(), nullptr, nullptr, argv, environ); error != 0) {
        done(false, qt_error_string(error));
        return;
    }
    std::thread([pid, done] {
        const auto until = std::chrono::steady_clock::now() + kWatched;
        while (std::chrono::steady_clock::now() < until) {
            int status = 0;
            const pid_t ended = ::waitpid(pid, &status, WNOHANG);
            if (ended == pid) {
                const bool opened = WIFEXITED(status) && WEXITSTATUS(status) == 0;
                done(opened, opened ? QString() : endReason(status));
                return;
            }
            if (ended < 0 && errno != EINTR)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        done(true, {});
    }).detach();
}

} // namespace tarnwell
