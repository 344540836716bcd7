// SPDX-License-Identifier: MIT
// Windows: the drive letters, as the system lists them without asking the drives themselves.
#include "registration/folderlist.h"

#include <QDir>
#include <QFileInfo>

namespace tarnwell {

QList<Drive> drives()
{
    QList<Drive> result;
    for (const QFileInfo &drive : QDir::drives()) {
        QString root = QDir::toNativeSeparators(drive.absoluteFilePath());
        if (!root.endsWith(u'\\'))
            root += u'\\';
        result.append({root, root.left(2).toLower()});
    }
    return result;
}

} // namespace tarnwell
