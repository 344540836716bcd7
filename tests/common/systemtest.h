// SPDX-License-Identifier: MIT
// What some tests ask of a Unix system: the superuser's rights, a small file system, a run as an
// unprivileged user. Windows has none of these here, and the answers there are no.
#pragma once

#include <QString>

namespace testsupport {

bool isSuperuser();
// Mounts a tmpfs of `size` (such as "256k") over the folder; false when it cannot.
bool mountSmallFileSystem(const QString &folder, const char *size);
void unmount(const QString &folder);
// As the superuser, runs the current test function and data row again as user 65534, from a copy
// of the test binary, and returns true: the caller then returns. False for anyone else.
bool rerunAsUser();

} // namespace testsupport
