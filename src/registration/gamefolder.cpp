// SPDX-License-Identifier: MIT
#include "registration/gamefolder.h"

#include <QDir>
#include <QFileInfo>

namespace tarnwell {

QString gameFolderOf(const QString &exePath)
{
    // Only a folder named Binaries itself: "MyBinaries/QVX.EXE" ends in the same 16 characters.
    const QString tail = QStringLiteral("/Binaries/QVX.EXE");
    if (exePath.size() >= tail.size()
        && QString(exePath.right(tail.size())).replace(QLatin1Char('\\'), QLatin1Char('/')).compare(tail, Qt::CaseInsensitive) == 0)
        return exePath.left(exePath.size() - tail.size() + 1);
    const QString fileFolder = QFileInfo(exePath).absolutePath();
    const QString above = QFileInfo(fileFolder).absolutePath();
    if (exePath.isEmpty() || above == fileFolder)
        return {};
    return QDir::toNativeSeparators(above.endsWith(QLatin1Char('/')) ? above : above + QLatin1Char('/'));
}

} // namespace tarnwell
