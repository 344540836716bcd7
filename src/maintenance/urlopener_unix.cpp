// SPDX-License-Identifier: MIT
// Unix: the desktop's opener, xdg-open, started directly (no shell reads the address) and watched
// beside the window until it ends, however long that takes.
#include "maintenance/urlopener.h"

#include "files/background.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>

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
    // A worker waits for the opener however long it runs, and so reaps it whenever it ends; the
    // caller hears of it at once, or after a while as opened.
    auto told = std::make_shared<bool>(false);
    const auto tell = [told, done](bool opened, const QString &error) {
        if (!std::exchange(*told, true))
            done(opened, error);
    };
    QObject *owner = QCoreApplication::instance();
    QTimer::singleShot(kWatched, owner, [tell] { tell(true, {}); });
    runBeside<int>(
        owner,
        [pid](Job &) {
            int status = 0;
            while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return status;
        },
        [tell](int status) {
            const bool opened = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            tell(opened, opened ? QString() : endReason(status));
        });
}

} // namespace tarnwell
