// SPDX-License-Identifier: MIT
// Windows: the shell opens the address with its registered handler and says at once whether it could.
#include "maintenance/urlopener.h"

#include <QDesktopServices>
#include <QUrl>

namespace tarnwell {

void openAddress(const QString &address, const AddressOpened &done)
{
    const bool opened = QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
    done(opened, opened ? QString() : QStringLiteral("no program on this system opens it"));
}

} // namespace tarnwell
