// SPDX-License-Identifier: MIT
#include "settings/settingsmerge.h"

#include "settings/propertyline.h"

#include <optional>

namespace tarnwell {

namespace {

QString checkText(bool checked)
{
    return checked ? QStringLiteral("on") : QStringLiteral("off");
}

// What a check box shows for a value: the first of its rows whose flag the value begins with.
std::optional<bool> checkedBy(QLatin1String control, QByteArrayView value)
{
    for (const CatalogueRow &row : catalogue()) {
        if (row.control == control && row.kind == ControlKind::Check && value.startsWith(row.flag))
            return row.flagChecks;
    }
    // A box with one flag is cleared by any other value; the two-flag box is left alone.
    int rows = 0;
    for (const CatalogueRow &row : catalogue())
        rows += row.control == control ? 1 : 0;
    return rows == 1 ? std::optional<bool>(false) : std::nullopt;
}

// The value of a control as a person reads it, from the values of its rows.
QString shownText(QLatin1String control, const QHash<QByteArray, QByteArray> &byProperty)
{
    QByteArray width;
    QByteArray height;
    for (const CatalogueRow &row : catalogue()) {
        if (row.control != control || !byProperty.contains(row.property.toByteArray()))
            continue;
        const QByteArray value = byProperty.value(row.property.toByteArray());
        switch (row.kind) {
        case ControlKind::Check: {
            const std::optional<bool> checked = checkedBy(control, value);
            return checked ? checkText(*checked) : QLatin1Char('"') + shownValue(value) + QLatin1Char('"');
        }
        case ControlKind::Text:
        case ControlKind::Combo:
            return shownValue(value);
        case ControlKind::ResWidth:
            width = value;
            break;
        case ControlKind::ResHeight:
            height = value;
            break;
        }
    }
    return shownValue(width) + QLatin1Char('x') + shownValue(height);
}

QString windowText(const SettingsControls &controls, QLatin1String control)
{
    for (const CatalogueRow &row : catalogue()) {
        if (row.control == control)
            return row.kind == ControlKind::Check ? checkText(controls.isChecked(control)) : controls.text(control);
    }
    return {};
}

// What a control holds, as shownValues() keeps it: "1" or "0" for a check box, else its text.
QString heldValue(const SettingsControls &controls, const CatalogueRow &row)
{
    return row.kind == ControlKind::Check ? QString::number(int(controls.isChecked(row.control)))
                                          : controls.text(row.control);
}

} // namespace

PropertyValues propertyValues(const LineList &lines, SettingsFile file, const CatalogueValues *written)
{
    PropertyValues values;
    const auto rows = catalogue();
    lines.forEachLine([&](const LineList::Line &line) {
        const RowIndex index = rowWrittenTo(line.content, file);
        if (index < 0)
            return;
        const QByteArray name = rows[index].property.toByteArray();
        values.insert(name, written ? (*written)[index] : propertyValue(line.content, rows[index].property).toByteArray());
    });
    return values;
}

bool holdsAnySetting(const LineList &lines, SettingsFile file)
{
    bool found = false;
    lines.forEachLine([&found, file](const LineList::Line &line) {
        found = rowWrittenTo(line.content, file) >= 0;
        return !found;
    });
    return found;
}

ShownValues shownValues(const SettingsControls &controls, SettingsFile file)
{
    ShownValues shown;
    for (const CatalogueRow &row : catalogue()) {
        if (row.file != file)
            continue;
        shown.insert(QString(row.control), heldValue(controls, row));
    }
    return shown;
}

void showHeldValues(const ShownValues &held, SettingsControls &controls)
{
    for (const CatalogueRow &row : catalogue()) {
        const auto value = held.constFind(QString(row.control));
        if (value == held.cend())
            continue;
        if (row.kind == ControlKind::Check)
            controls.setChecked(row.control, *value == QLatin1String("1"));
        else
            controls.setText(row.control, *value);
    }
}

QSet<QString> changedControls(const SettingsControls &controls, const ShownValues &shown)
{
    QSet<QString> changed;
    for (const CatalogueRow &row : catalogue()) {
        const QString name(row.control);
        const auto before = shown.constFind(name);
        if (before == shown.cend())
            continue;
        if (heldValue(controls, row) != *before)
            changed.insert(name);
    }
    return changed;
}

Merge mergeValues(SettingsFile file, const PropertyValues &base, const PropertyValues &now, const CatalogueValues &window,
                  const QSet<QString> &userChanged, const SettingsControls &controls)
{
    Merge merge;
    merge.values = window;
    QStringList seen; // each control once in the lists
    const auto rows = catalogue();
    for (RowIndex i = 0; i < RowIndex(rows.size()); ++i) {
        const CatalogueRow &row = rows[i];
        const QByteArray property = row.property.toByteArray();
        if (row.file != file || !now.contains(property))
            continue; // no line to write: nothing to merge
        const bool theirs = base.value(property) != now.value(property) || !base.contains(property);
        const bool yours = userChanged.contains(QString(row.control));
        if (!yours) {
            merge.values[i] = now.value(property);
            if (theirs)
                merge.kept << i;
        }
        if ((!yours && !theirs) || seen.contains(QString(row.control)))
            continue;
        seen << QString(row.control);
        const QString caption = controls.settingName(row.control);
        if (yours && theirs) {
            merge.both << QStringLiteral("%1: yours %2, the game's %3")
                              .arg(caption, windowText(controls, row.control), shownText(row.control, now));
        } else if (yours) {
            merge.yours << caption + QStringLiteral(": ") + windowText(controls, row.control);
        } else {
            merge.theirs << caption + QStringLiteral(": ") + shownText(row.control, now);
        }
    }
    return merge;
}

void showKeptValues(const Merge &merge, SettingsControls &controls, ReadValues &read, QString &resWidth,
                    QString &resHeight)
{
    const auto rows = catalogue();
    bool resolution = false;
    RowIndex width = -1;
    RowIndex height = -1;
    for (RowIndex i = 0; i < RowIndex(rows.size()); ++i) {
        width = rows[i].kind == ControlKind::ResWidth ? i : width;
        height = rows[i].kind == ControlKind::ResHeight ? i : height;
    }
    for (const RowIndex i : merge.kept) {
        const CatalogueRow &row = rows[i];
        const QByteArray &value = merge.values[i];
        switch (row.kind) {
        case ControlKind::Check:
            if (const std::optional<bool> checked = checkedBy(row.control, value))
                controls.setChecked(row.control, *checked);
            break;
        case ControlKind::Text:
        case ControlKind::Combo:
            controls.setText(row.control, read.remember(row.property, value));
            break;
        case ControlKind::ResWidth:
        case ControlKind::ResHeight:
            resolution = true;
            break;
        }
    }
    // The list shows both parts as the file now holds them.
    if (resolution) {
        resWidth = read.remember(rows[width].property, merge.values[width]);
        resHeight = read.remember(rows[height].property, merge.values[height]);
        controls.setText(QLatin1String("Combo1"), resWidth + QLatin1Char('x') + resHeight);
    }
}

} // namespace tarnwell
