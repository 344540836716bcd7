// SPDX-License-Identifier: MIT
#include "settings/pendingchanges.h"

#include <algorithm>

namespace tarnwell {

PendingChanges pendingChanges(const SettingsSession &session, const SettingsControls &controls)
{
    const auto wasRead = [&session](SettingsFile file) { return session.file(file).read.state == ReadState::Read; };
    QString width;
    QString height;
    splitResolution(controls.text(QLatin1String("Combo1")), width, height);
    const CollectedValues collected = collectValues(controls, session.readValues(), wasRead(SettingsFile::Graphics),
                                                    wasRead(SettingsFile::User), width, height);
    if (!collected.refusal.isEmpty())
        return {{}, collected.refusal};
    PendingChanges pending;
    const auto rows = catalogue();
    for (const SessionFile &file : session.files()) {
        if (file.read.state != ReadState::Read)
            continue;
        // What the file holds as this tool last saw it: read, or written since.
        const PropertyValues now = propertyValues(file.lines, file.file, file.read.written ? &*file.read.written : nullptr);
        PendingFile changes{file.path, {}};
        for (RowIndex i = 0; i < RowIndex(rows.size()); ++i) {
            const QByteArray property = rows[i].property.toByteArray();
            const bool listed = std::any_of(changes.changes.cbegin(), changes.changes.cend(),
                                            [&](const PendingChange &c) { return c.property == QLatin1String(property); });
            if (rows[i].file != file.file || !now.contains(property) || listed || now.value(property) == collected.values[i])
                continue;
            changes.changes.append({QString::fromLatin1(property), shownValue(now.value(property)),
                                    shownValue(collected.values[i])});
        }
        pending.files.append(changes);
    }
    return pending;
}

} // namespace tarnwell
