// SPDX-License-Identifier: MIT
#include "settings/profilevalues.h"

#include "settings/settingshelp.h"
#include "settings/settingssession.h"
#include "settings/settingswriter.h"

namespace tarnwell {

namespace {

QString nameOf(const CatalogueRow &row)
{
    return QString::fromLatin1(row.property.data(), row.property.size());
}

QString text(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.data(), bytes.size());
}

const QLatin1String kResolution("Combo1"); // the list that shows both halves

// What is wrong with the value for its row, as a phrase after "it"; empty when the setting takes it.
QString valueProblemFor(const CatalogueRow &row, const QString &value, const ReadValues &read)
{
    if (row.kind == ControlKind::Check) {
        if (value == text(row.whenChecked) || value == text(row.whenCleared))
            return {};
        return QStringLiteral("takes \"%1\" or \"%2\"").arg(text(row.whenChecked), text(row.whenCleared));
    }
    const EncodedValue encoded = read.encode(row.property, value);
    if (!encoded.problem.isEmpty())
        return encoded.problem;
    const bool resolution = row.kind == ControlKind::ResWidth || row.kind == ControlKind::ResHeight;
    const QLatin1String control = resolution ? kResolution : row.control;
    if (!read.unchanged(row.property, value) && !inRange(control, value))
        return QStringLiteral("takes %1").arg(valueRange(control));
    return {};
}

} // namespace

QStringList settingNames()
{
    QStringList names;
    for (const CatalogueRow &row : catalogue()) {
        if (!names.contains(nameOf(row)))
            names << nameOf(row);
    }
    return names;
}

QStringList settingNames(SettingsFile file)
{
    QStringList names;
    for (const QString &name : settingNames()) {
        if (catalogue()[rowOfSetting(name)].file == file)
            names << name;
    }
    return names;
}

RowIndex rowOfSetting(const QString &property)
{
    const auto rows = catalogue();
    for (RowIndex i = 0; i < RowIndex(rows.size()); ++i) {
        if (nameOf(rows[i]) == property)
            return i;
    }
    return -1;
}

ValueCheck checkValues(const ProfileValues &values, const ReadValues &read)
{
    ValueCheck check;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const RowIndex row = rowOfSetting(it.key());
        if (row < 0) {
            check.unknown << it.key();
            continue;
        }
        if (const QString problem = valueProblemFor(catalogue()[row], it.value(), read); !problem.isEmpty())
            check.refused << QStringLiteral("%1 \"%2\": it %3.").arg(it.key(), it.value(), problem);
    }
    const auto on = [&values](const char *name) { return values.value(QLatin1String(name)) == QLatin1String("true"); };
    if (on("FullScreen") && on("Borderless"))
        check.refused << QStringLiteral("FullScreen \"true\" and Borderless \"true\": only one of them can be on.");
    return check;
}

void putValues(const ProfileValues &values, SettingsControls &controls)
{
    QString width;
    QString height;
    splitResolution(controls.text(kResolution), width, height);
    bool resolution = false;
    // In the catalogue's order, so that a box that clears another does so the same way every time.
    for (const QString &name : settingNames()) {
        const auto value = values.constFind(name);
        if (value == values.cend())
            continue;
        const CatalogueRow &row = catalogue()[rowOfSetting(name)];
        switch (row.kind) {
        case ControlKind::Check: {
            const bool checked = *value == text(row.whenChecked);
            controls.setChecked(row.control, checked);
            if (checked && row.alsoClears.size() > 0)
                controls.setChecked(row.alsoClears, false); // as a click on the box would
            break;
        }
        case ControlKind::Text:
        case ControlKind::Combo:
            controls.setText(row.control, *value);
            break;
        case ControlKind::ResWidth:
        case ControlKind::ResHeight:
            (row.kind == ControlKind::ResWidth ? width : height) = *value;
            resolution = true;
            break;
        }
    }
    if (resolution)
        controls.setText(kResolution, width + QLatin1Char('x') + height);
}

ProfileValues takeValues(const SettingsControls &controls, const QStringList &properties, const ReadValues &read)
{
    QString width;
    QString height;
    splitResolution(controls.text(kResolution), width, height);
    ProfileValues values;
    for (const QString &name : properties) {
        const RowIndex index = rowOfSetting(name);
        if (index < 0 || read.keptAside(catalogue()[index].property))
            continue; // its control shows its start and size, not the value
        const CatalogueRow &row = catalogue()[index];
        switch (row.kind) {
        case ControlKind::Check:
            values.insert(name, text(controls.isChecked(row.control) ? row.whenChecked : row.whenCleared));
            break;
        case ControlKind::Text:
        case ControlKind::Combo:
            values.insert(name, controls.text(row.control));
            break;
        case ControlKind::ResWidth:
            values.insert(name, width);
            break;
        case ControlKind::ResHeight:
            values.insert(name, height);
            break;
        }
    }
    return values;
}

ProfileValues valuesInFiles(const SettingsSession &session)
{
    ProfileValues values;
    for (const SessionFile &file : session.files()) {
        if (file.read.state != ReadState::Read)
            continue;
        const PropertyValues held = propertyValues(file.lines, file.file);
        for (auto it = held.cbegin(); it != held.cend(); ++it)
            values.insert(QString::fromLatin1(it.key()), decodeValue(it.value()));
    }
    return values;
}

} // namespace tarnwell
