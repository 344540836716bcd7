// SPDX-License-Identifier: MIT
// Reading the game's settings files into the controls and writing them back.
#include "form1.h"

#include "files/backups.h"
#include "platform/platform.h"
#include "settings/settingswriter.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

class WindowQuestions final : public tarnwell::WriteQuestions
{
public:
    explicit WindowQuestions(Platform &platform) : m_platform(platform) {}

    bool writeMerged(const QString &path, const tarnwell::Merge &merge) override
    {
        QStringList parts{QStringLiteral("%1\n\nThis settings file has changed since Tarnwell read or wrote it (the "
                                         "game rewrites it when it exits).")
                              .arg(QDir::toNativeSeparators(path))};
        const auto list = [&parts](const QString &heading, const QStringList &lines) {
            if (!lines.isEmpty())
                parts << heading + QStringLiteral("\n    ") + lines.join(QStringLiteral("\n    "));
        };
        list(QStringLiteral("Your changes that will be written:"), merge.yours);
        list(QStringLiteral("The game's changes that will be kept:"), merge.theirs);
        list(QStringLiteral("Changed by both; your value will be written:"), merge.both);
        if (merge.yours.isEmpty() && merge.both.isEmpty())
            parts << QStringLiteral("You changed none of its settings in the window.");
        parts << QStringLiteral("Everything else the file holds now is kept. Write your changes into it?");
        return m_platform.messageBox(parts.join(QStringLiteral("\n\n")), Platform::YesNo + Platform::Question)
            == Platform::Yes;
    }

    bool writeReadOnly(const QString &path) override
    {
        return m_platform.messageBox(QStringLiteral("%1\n\nThis settings file is read-only.\n\nWrite it anyway? It "
                                                    "stays read-only afterwards.")
                                         .arg(QDir::toNativeSeparators(path)),
                                     Platform::YesNo + Platform::Question)
            == Platform::Yes;
    }

    bool writeLinked(const QString &path, int others) override
    {
        return m_platform.messageBox(QStringLiteral("%1\n\nThis settings file has %2 other name%3 (hard link%3). Apply "
                                                    "puts a new file under this name only: the other name%3 keep%4 the "
                                                    "old content.\n\nWrite it anyway?")
                                         .arg(QDir::toNativeSeparators(path))
                                         .arg(others)
                                         .arg(others == 1 ? QString() : QStringLiteral("s"),
                                              others == 1 ? QStringLiteral("s") : QString()),
                                     Platform::YesNo + Platform::Question)
            == Platform::Yes;
    }

    QString beforeReplace(const QString &path, QByteArrayView bytes) override
    {
        return tarnwell::backUpBytes(m_platform.backupFolder(), path, bytes).problem;
    }

private:
    Platform &m_platform;
};

} // namespace

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
