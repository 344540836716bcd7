// SPDX-License-Identifier: MIT
#include "cliexec.h"

#include "cliconsole.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tarnwell::cli {

int runInstead(int argc, char *argv[], int first, const QStringList &words)
{
    Q_UNUSED(argc);
    Q_UNUSED(words);
    // The bytes the system gave, never decoded and encoded again: a name in any encoding goes through.
    std::fflush(nullptr);
    ::execvp(argv[first], argv + first);
    const int error = errno;
    console::writeErr(QStringLiteral("tarnwell: cannot run %1: %2\n")
                          .arg(QString::fromLocal8Bit(argv[first]), QString::fromLocal8Bit(std::strerror(error))));
    return error == ENOENT ? 127 : 126;
}

} // namespace tarnwell::cli
