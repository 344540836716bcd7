// SPDX-License-Identifier: MIT
#include "maintenance/powersource.h"

#include "files/filecontent.h"

#include <QDir>

namespace tarnwell {

namespace {

QByteArray attribute(const QDir &supply, const char *name)
{
    // Attributes are a line of text each; a missing one reads as empty.
    const FileBytes file = readWholeFile(supply.filePath(QString::fromLatin1(name)), 4096);
    return file.ok() ? file.bytes.trimmed() : QByteArray();
}

} // namespace

PowerSource powerSourceIn(const QString &folder)
{
    bool mains = false;
    bool battery = false;
    const QDir dir(folder);
    for (const QString &entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QDir supply(dir.filePath(entry));
        const QByteArray type = attribute(supply, "type");
        if (type == "Battery") {
            // A mouse's or a gamepad's battery says nothing of the machine's power.
            if (attribute(supply, "scope") == "Device" || attribute(supply, "present") == "0")
                continue;
            battery = true;
            mains = mains || attribute(supply, "status") == "Charging";
        } else if (!type.isEmpty()) {
            mains = mains || attribute(supply, "online") == "1"; // Mains, USB, USB_C, Wireless, ...
        }
    }
    if (mains)
        return PowerSource::Mains;
    return battery ? PowerSource::Battery : PowerSource::Unknown;
}

} // namespace tarnwell
