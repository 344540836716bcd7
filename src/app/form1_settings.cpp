// SPDX-License-Identifier: MIT
// Reading the game's settings files into the controls and writing them back.
#include "form1.h"

#include "files/backups.h"
#include "files/pathcase.h"
#include "platform/platform.h"
#include "settings/settingswriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace {

// The window's controls, found by the object names that the catalogue gives.
class WindowControls final : public tarnwell::SettingsControls
{
public:
    explicit WindowControls(const QWidget &window) : m_window(window) {}

    bool isChecked(QLatin1String control) const override
    {
        const auto *box = find<QCheckBox>(control);
        return box && box->isChecked();
    }

    void setChecked(QLatin1String control, bool checked) override
    {
        // setChecked() does not emit `clicked`, so the FullScreen/Borderless rule stays out of it.
        if (auto *box = find<QCheckBox>(control))
            box->setChecked(checked);
    }

    QString text(QLatin1String control) const override
    {
        if (const auto *edit = find<QLineEdit>(control))
            return edit->text();
        if (const auto *list = find<QComboBox>(control))
            return list->currentText();
        return {};
    }

    void setText(QLatin1String control, const QString &text) override
    {
        if (auto *edit = find<QLineEdit>(control)) {
            edit->setText(text);
        } else if (auto *list = find<QComboBox>(control)) {
            const int entry = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (entry >= 0)
                list->setCurrentIndex(entry);
            list->setEditText(text);
        }
    }

    QString settingName(QLatin1String control) const override
    {
        const auto *widget = find<QWidget>(control);
        return widget && !widget->accessibleName().isEmpty() ? widget->accessibleName() : QString(control);
    }

private:
    template <typename Control>
    Control *find(QLatin1String name) const
    {
        return m_window.findChild<Control *>(QString(name), Qt::FindDirectChildrenOnly);
    }

    const QWidget &m_window;
};

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
    const WindowControls controls(*this);
    m_startup = tarnwell::shownValues(controls, tarnwell::SettingsFile::Graphics);
    m_startup.insert(tarnwell::shownValues(controls, tarnwell::SettingsFile::User));
}

void Form1::showLastRead()
{
    WindowControls controls(*this);
    tarnwell::showHeldValues(m_shown[0], controls);
    tarnwell::showHeldValues(m_shown[1], controls);
}

void Form1::ReadConfig()
{
    using namespace tarnwell;
    WindowControls controls(*this);
    m_readValues.clear();
    // Another game's values are not this one's: what its files do not hold shows as at start-up.
    if (!m_readFolder.isEmpty() && GameFolder != m_readFolder)
        showHeldValues(m_startup, controls);
    if (GameFolder != m_readFolder)
        m_everRead[0] = m_everRead[1] = false;
    m_readFolder = GameFolder;
    // Paths formed from an empty folder would name files below the working folder: no game's.
    const bool haveFolder = !GameFolder.isEmpty();
    const auto settingsPath = [&](const char *name) {
        return haveFolder ? GameFolder + native(QStringLiteral("Binaries/SETTINGS/") + QLatin1String(name)) : QString();
    };

    GraphicsSettingsPath = settingsPath("TKGRAPHICSSETTINGS.MXML");
    m_graphicsState = readSettingsFile(GraphicsSettingsPath, haveFolder, GraphicsLines);
    showValues(GraphicsLines, SettingsFile::Graphics, controls, m_readValues, ResWidth, ResHeight);

    UserSettingsPath = settingsPath("GCUSERSETTINGSDATA.MXML");
    m_userState = readSettingsFile(UserSettingsPath, haveFolder, UserLines);
    showValues(UserLines, SettingsFile::User, controls, m_readValues, ResWidth, ResHeight);

    m_shown[0] = shownValues(controls, SettingsFile::Graphics);
    m_shown[1] = shownValues(controls, SettingsFile::User);

    m_everRead[0] = m_everRead[0] || m_graphicsState.state == ReadState::Read;
    m_everRead[1] = m_everRead[1] || m_userState.state == ReadState::Read;
    markUnreadControls();
    markKeptValues();
    // Which installation the window edits, in full: the caption names only its release.
    QString where = QStringLiteral("Click to copy");
    if (!GameExePath.isEmpty())
        where += QStringLiteral("\n\nQuillvane QVX.EXE: %1\nGame folder: %2")
                     .arg(QDir::toNativeSeparators(GameExePath),
                          GameFolder.isEmpty() ? QStringLiteral("none") : QDir::toNativeSeparators(GameFolder));
    label(22)->setToolTip(where);
    const QString problems = readProblems({{GraphicsSettingsPath, m_graphicsState}, {UserSettingsPath, m_userState}});
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
            edit->setReadOnly(m_readValues.keptAside(row.property));
    }
}

void Form1::markUnreadControls()
{
    using namespace tarnwell;
    const auto why = [this](const FileState &state, const QString &path, bool everRead) -> QString {
        const QString file = QDir::toNativeSeparators(path);
        switch (state.state) {
        case ReadState::NoGameFolder:
            return QStringLiteral("Not read from any file: no game is chosen.");
        case ReadState::Missing:
            return everRead ? QStringLiteral("Not read from any file: %1 was deleted. Start the game to make it "
                                             "again, then press Reload.").arg(file)
                            : QStringLiteral("Not read from any file: %1 does not exist yet. Start the game once, "
                                             "then press Reload.").arg(file);
        case ReadState::Unreadable:
            return QStringLiteral("Not read from any file: %1 could not be read (%2).").arg(file, state.error);
        case ReadState::Read:
            break;
        }
        return {};
    };
    const QString reasons[2] = {why(m_graphicsState, GraphicsSettingsPath, m_everRead[0]),
                                why(m_userState, UserSettingsPath, m_everRead[1])};
    for (const CatalogueRow &row : catalogue()) {
        auto *widget = findChild<QWidget *>(QString(row.control), Qt::FindDirectChildrenOnly);
        if (!widget)
            continue;
        if (!widget->property("help").isValid())
            widget->setProperty("help", widget->toolTip());
        const QString &reason = reasons[row.file == SettingsFile::Graphics ? 0 : 1];
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
    using namespace tarnwell;
    // The resolution is cut at every "Apply", whatever is written after it.
    splitResolution(combo(1)->currentText(), ResWidth, ResHeight);
    if (GameFolder.isEmpty() || m_graphicsState.state == ReadState::NoGameFolder) {
        warn(noGameFolderReason() + QStringLiteral(", so no settings were written."));
        return false;
    }

    WindowControls controls(*this);
    const bool graphics = m_graphicsState.state == ReadState::Read;
    const bool user = m_userState.state == ReadState::Read;
    const CollectedValues collected = collectValues(controls, m_readValues, graphics, user, ResWidth, ResHeight);
    if (!collected.refusal.isEmpty()) {
        warn(collected.refusal);
        return false;
    }

    WindowQuestions ask(m_platform);
    QSet<QString> changed = changedControls(controls, m_shown[0]);
    changed.unite(changedControls(controls, m_shown[1]));
    const WindowValues window{collected.values, changed, controls};
    const FileOutcome graphicsOutcome = writeSettingsFile(GraphicsSettingsPath, m_graphicsState, SettingsFile::Graphics,
                                                          GraphicsLines, window, ask);
    const FileOutcome userOutcome = writeSettingsFile(UserSettingsPath, m_userState, SettingsFile::User, UserLines,
                                                      window, ask);
    // The window shows what the files now hold: the game's changes that were kept, and from then on
    // the values written count as the ones shown.
    int index = 0;
    for (const FileOutcome *outcome : {&graphicsOutcome, &userOutcome}) {
        if (outcome->merge)
            showKeptValues(*outcome->merge, controls, m_readValues, ResWidth, ResHeight);
        if (outcome->status != FileOutcome::NotWritten)
            m_shown[index] = shownValues(controls, index == 0 ? SettingsFile::Graphics : SettingsFile::User);
        ++index;
    }
    const ApplyReport report = applyReport({{GraphicsSettingsPath, graphicsOutcome}, {UserSettingsPath, userOutcome}});
    if (!report.ok)
        m_platform.messageBox(report.message, report.failed ? Platform::Critical : Platform::Exclamation);
    return report.ok;
}

bool Form1::hasUnsavedEdits() const
{
    using namespace tarnwell;
    const WindowControls controls(*this);
    // Only a file that was read can take the edits; the others have nothing to lose.
    return (m_graphicsState.state == ReadState::Read && !changedControls(controls, m_shown[0]).isEmpty())
        || (m_userState.state == ReadState::Read && !changedControls(controls, m_shown[1]).isEmpty());
}
