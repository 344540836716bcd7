// SPDX-License-Identifier: MIT
// Finding the game's files the way Windows would, on file systems that tell letter case apart.
#pragma once

#include <QString>

namespace tarnwell {

// The path as it stands on disk. Where a folder or file does not exist as written, a name that
// differs only in letter case is taken (the exact name wins), so that "Settings" written by a game
// under a compatibility layer is found where "SETTINGS" is looked for. Parts that match nothing are
// kept as written, so the result names where a new file would go.
QString resolveCase(const QString &path);

// A relative path written with forward slashes, in the platform's own separators.
QString native(const QString &slashed);

// True only for an existing file (not a folder) at the path, letter case resolved as above.
bool fileExists(const QString &path);

} // namespace tarnwell
