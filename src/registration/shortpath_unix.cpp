// SPDX-License-Identifier: MIT
// Systems without short names: the path as it stands on disk.
#include "registration/shortpath.h"

#include "files/pathcase.h"

#include <QFileInfo>

namespace tarnwell {

QString shortPath(const QString &path)
{
    if (path.isEmpty())
        return QString();
    const QString onDisk = resolveCase(path);
    const QFileInfo info(onDisk);
    return info.exists() ? onDisk : QString();
}

} // namespace tarnwell
