// SPDX-License-Identifier: MIT
// What some tests ask of a Unix system: the superuser's rights, a small file system, a run as an
// unprivileged user. Windows has none of these here, and the answers there are no.
#pragma once

#include <QString>
#include <QTest>

// Skipping what only Unix has. A row that needs the superuser, FIFOs, /proc, owners, symbolic links
// or permission bits that hold for the owner cannot hold on Windows (the suite runs there under Wine
// too); it says why and skips:
//     if (cause == Cause::Fifo)
//         UNIX_ONLY("Windows has no named pipes in the file system");
// A row that only Windows has skips elsewhere with WINDOWS_ONLY(reason). Rows are kept, not left out,
// so that both systems run the same data rows and report which of them cannot apply. Where only an
// expectation differs (a path's separators, a console's CR LF), the row stays one row: nativePath()
// and kWindows of common/testfiles.h give the Windows form in place.
#ifdef Q_OS_WIN
#define UNIX_ONLY(reason) QSKIP("Unix only: " reason)
#define WINDOWS_ONLY(reason) do {} while (false)
#else
#define UNIX_ONLY(reason) do {} while (false)
#define WINDOWS_ONLY(reason) QSKIP("Windows only: " reason)
#endif

namespace testsupport {

bool isSuperuser();
// Mounts a tmpfs of `size` (such as "256k") over the folder; false when it cannot.
bool mountSmallFileSystem(const QString &folder, const char *size);
void unmount(const QString &folder);
// As the superuser, runs the current test function and data row again as user 65534, from a copy
// of the test binary, and returns true: the caller then returns. False for anyone else.
bool rerunAsUser();
// Puts `from` in the place of `to` in one step, as a program that saves by renaming does; an
// existing `to` is replaced (std::rename refuses that on Windows).
[[nodiscard]] bool replaceFile(const QString &from, const QString &to);

// The short (8.3) form of an existing path as Windows gives it, with its separators; elsewhere the path.
QString shortName(const QString &path);
// Marks a file hidden, and a system file when `system` is set; on Unix a name with a leading dot
// already hides it, and this does nothing.
[[nodiscard]] bool markHidden(const QString &path, bool system = false);

} // namespace testsupport
