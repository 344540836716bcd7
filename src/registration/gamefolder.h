// SPDX-License-Identifier: MIT
// Where the game folder lies, given the executable the user registered.
#pragma once

#include <QString>

namespace tarnwell {

// The game folder of the executable at `exePath`, with its trailing separator. For QVX.EXE in a
// folder named Binaries (both in any letter case) it is the path without those 16 characters; for
// any other file (a launcher chosen by mistake, QVX.EXE in "MyBinaries") it is the folder above the
// file's folder, so that every path formed from it names a real folder. Empty when there is none.
QString gameFolderOf(const QString &exePath);

} // namespace tarnwell
