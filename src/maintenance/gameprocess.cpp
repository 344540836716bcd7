// SPDX-License-Identifier: MIT
#include "maintenance/gameprocess.h"

#include <QDir>

namespace tarnwell {

bool sameWindowsPath(const QString &a, const QString &b)
{
    const auto plain = [](QString path) { return QDir::cleanPath(path.replace(QLatin1Char('\\'), QLatin1Char('/'))); };
    return !a.isEmpty() && plain(a).compare(plain(b), Qt::CaseInsensitive) == 0;
}

} // namespace tarnwell
