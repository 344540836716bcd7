// SPDX-License-Identifier: MIT
#include "settings/settingsreader.h"

#include "files/pathcase.h"
#include "files/filecontent.h"
#include "files/openfile.h"
#include "settings/propertyline.h"

#include <QDir>

namespace tarnwell {

FileState readSettingsFile(const QString &path, bool haveGameFolder, LineList &lines)
{
    lines = LineList(); // the old text goes before the new one comes
    if (!haveGameFolder)
        return {ReadState::NoGameFolder, {}, {}};
    if (!fileExists(path)) {
        // Something that is no file stands there: said, and never written over.
        const QString odd = notRegularReason(resolveCase(path));
        return {odd.isEmpty() ? ReadState::Missing : ReadState::Unreadable, odd, {}};
    }
    FileBytes file = readWholeFile(resolveCase(path), kSettingsFileLimit);
    if (!file.ok())
        return {ReadState::Unreadable, file.error, {}};
    lines = LineList(std::move(file.bytes));
    return {ReadState::Read, {}, {}};
}

void showValues(const LineList &lines, SettingsFile file, SettingsControls &controls, ReadValues &read,
                QString &resWidth, QString &resHeight)
{
    const auto rows = catalogue();
    lines.forEachLine([&](const LineList::Line &line) {
        const RowIndex index = rowReadFrom(line.content, file);
        if (index < 0) {
            // A box whose line holds exactly the text its cleared state writes shows it cleared: the
            // window never shows a value the file contradicts, and Apply never reverts it.
            const RowIndex named = rowWrittenTo(line.content, file);
            if (named >= 0 && rows[named].kind == ControlKind::Check
                && propertyValue(line.content, rows[named].property) == rows[named].whenCleared)
                controls.setChecked(rows[named].control, false);
            return;
        }
        const CatalogueRow &row = rows[index];
        const auto value = [&] { return read.remember(row.property, propertyValue(line.content, row.property)); };
        switch (row.kind) {
        case ControlKind::Check:
            controls.setChecked(row.control, row.flagChecks);
            if (row.alsoClears.size() > 0)
                controls.setChecked(row.alsoClears, false);
            break;
        case ControlKind::Text:
        case ControlKind::Combo:
            controls.setText(row.control, value());
            break;
        case ControlKind::ResWidth:
            resWidth = value();
            break;
        case ControlKind::ResHeight:
            // The list shows the width held now, whichever line brought it.
            resHeight = value();
            controls.setText(row.control, resWidth + QLatin1Char('x') + resHeight);
            break;
        }
    });
}

QString readProblems(const QList<NamedRead> &files)
{
    QStringList parts;
    for (const NamedRead &file : files) {
        if (file.read.state != ReadState::Unreadable)
            continue;
        parts << QStringLiteral("%1\ncould not be read: %2.\nThe settings it holds are not shown, and Apply will not "
                                "write it until Reload has read it.")
                     .arg(QDir::toNativeSeparators(file.path), file.read.error);
    }
    return parts.join(QStringLiteral("\n\n"));
}

} // namespace tarnwell
