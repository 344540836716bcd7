// SPDX-License-Identifier: MIT
#include "common/systemtest.h"

namespace testsupport {

bool isSuperuser() { return false; }
bool mountSmallFileSystem(const QString &, const char *) { return false; }
void unmount(const QString &) {}
bool rerunAsUser() { return false; }

} // namespace testsupport
