// SPDX-License-Identifier: MIT
#include "settings/heldcontrols.h"

#include "settings/catalogue.h"

#include <QStringList>

#include <array>

namespace tarnwell {

namespace {

struct Startup {
    const char *control;
    const char *text;
};

// The window's start-up contents: its text boxes' texts and each list's first entry.
constexpr std::array<Startup, 18> kStartup = {{
    {"Text1", "16"},     {"Text2", "140"},    {"Text8", "140"},   {"Text3", "115"},   {"Text11", "0"},
    {"Text10", "80"},    {"Text5", "4"},      {"Text9", "4"},     {"Text7", "180"},   {"Text6", "256"},
    {"Text4", "160"},    {"Combo1", "320x200"}, {"Combo2", "Low"}, {"Combo3", "Normal"}, {"Combo4", "Low"},
    {"Combo5", "None"},  {"Combo6", "Off"},   {"Combo7", "Low"},
}};

} // namespace

QString startupText(QLatin1String control)
{
    for (const Startup &startup : kStartup) {
        if (control == QLatin1String(startup.control))
            return QString::fromLatin1(startup.text);
    }
    return {};
}

HeldControls::HeldControls()
{
    for (const CatalogueRow &row : catalogue()) {
        if (row.kind == ControlKind::Check)
            m_checked.insert(QString(row.control), false);
        else
            m_texts.insert(QString(row.control), startupText(row.control));
    }
}

bool HeldControls::isChecked(QLatin1String control) const
{
    return m_checked.value(QString(control));
}

void HeldControls::setChecked(QLatin1String control, bool checked)
{
    m_checked.insert(QString(control), checked);
}

QString HeldControls::text(QLatin1String control) const
{
    return m_texts.value(QString(control));
}

void HeldControls::setText(QLatin1String control, const QString &text)
{
    m_texts.insert(QString(control), text);
}

QString HeldControls::settingName(QLatin1String control) const
{
    QStringList names; // the resolution list holds two
    for (const CatalogueRow &row : catalogue()) {
        const QString name = QString::fromLatin1(row.property.data(), row.property.size());
        if (row.control == control && !names.contains(name))
            names << name;
    }
    return names.isEmpty() ? QString(control) : names.join(QLatin1Char('/'));
}

} // namespace tarnwell
