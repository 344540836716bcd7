// SPDX-License-Identifier: MIT
// Reading the game's settings files into the controls and writing them back.
#include "form1.h"

#include "platform/platform.h"
#include "windowquestions.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

void Form1::keepStartupValues()
{
    m_settings.keepStartupValues();
}

void Form1::showLastRead()
{
    m_settings.showLastRead();
}

void Form1::ReadConfig()
{
    const QString problems = m_settings.read(GameFolder);
    markUnreadControls();
    markKeptValues();
    // Which installation the window edits, in full: the caption names only its release.
    QString where = QStringLiteral("Click to copy");
    if (!GameExePath.isEmpty())
        where += QStringLiteral("\n\nQuillvane QVX.EXE: %1\nGame folder: %2")
                     .arg(QDir::toNativeSeparators(GameExePath),
                          GameFolder.isEmpty() ? QStringLiteral("none") : QDir::toNativeSeparators(GameFolder));
    label(22)->setToolTip(where);
    if (!problems.isEmpty())
        warn(problems);
}

void Form1::markKeptValues()
{
    using namespace tarnwell;
    // A value kept aside cannot be edited in its shortened form: it goes back whole, or not at all.
    for (const CatalogueRow &row : catalogue()) {
        if (row.kind != ControlKind::Text && row.kind != ControlKind::Combo)
            continue;
        auto *widget = findChild<QWidget *>(QString(row.control), Qt::FindDirectChildrenOnly);
        auto *edit = qobject_cast<QLineEdit *>(widget);
        if (auto *list = qobject_cast<QComboBox *>(widget))
            edit = list->lineEdit();
        if (edit)
            edit->setReadOnly(m_settings.readValues().keptAside(row.property));
    }
}

void Form1::markUnreadControls()
{
    using namespace tarnwell;
    for (const CatalogueRow &row : catalogue()) {
        auto *widget = findChild<QWidget *>(QString(row.control), Qt::FindDirectChildrenOnly);
        if (!widget)
            continue;
        if (!widget->property("help").isValid())
            widget->setProperty("help", widget->toolTip());
        const QString reason = m_settings.unreadReason(row.file);
        const QString help = widget->property("help").toString();
        widget->setToolTip(reason.isEmpty() ? help
                                            : QStringLiteral("<p><b>%1</b></p>").arg(reason.toHtmlEscaped()) + help);
        // Greyed, yet still editable: a value typed now is written once the file can be read.
        QPalette palette; // nothing of its own: the window's
        if (!reason.isEmpty()) {
            palette = this->palette();
            for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
                palette.setColor(role, Qt::gray);
            palette.setColor(QPalette::Base, QColor(0xe4, 0xe4, 0xe4));
        }
        widget->setPalette(palette);
    }
}

bool Form1::WriteConfig()
{
    // The resolution is cut at every "Apply", whatever is written after it.
    m_settings.takeResolution();
    if (GameFolder.isEmpty() || !m_settings.hasGameFolder()) {
        warn(noGameFolderReason() + QStringLiteral(", so no settings were written."));
        return false;
    }
    WindowQuestions ask(m_platform);
    const tarnwell::ApplyReport report = m_settings.write(ask);
    if (!report.ok)
        m_platform.messageBox(report.message, report.failed ? Platform::Critical : Platform::Exclamation);
    return report.ok;
}

bool Form1::hasUnsavedEdits() const
{
    return m_settings.hasUnsavedEdits();
}
