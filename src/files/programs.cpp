// SPDX-License-Identifier: MIT
#include "files/programs.h"

#include <QDir>

namespace tarnwell {

QString programPath(const QString &program, const QString &folder)
{
    const bool named = !program.contains(u'/') && !program.contains(u'\\');
    if (named || program.isEmpty())
        return program;
    const QString whole = folder.isEmpty() || QDir::isAbsolutePath(program) ? QDir(program).absolutePath()
                                                                              : QDir(folder).absoluteFilePath(program);
    return QDir::toNativeSeparators(QDir::cleanPath(whole));
}

} // namespace tarnwell
