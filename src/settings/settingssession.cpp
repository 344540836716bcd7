// SPDX-License-Identifier: MIT
#include "settings/settingssession.h"

#include "files/pathcase.h"

#include <QDir>

#include <algorithm>

namespace tarnwell {

SettingsSession::SettingsSession(SettingsControls &controls)
    : m_controls(controls)
    , m_files{SessionFile{.file = SettingsFile::Graphics, .name = QLatin1String("TKGRAPHICSSETTINGS.MXML")},
              SessionFile{.file = SettingsFile::User, .name = QLatin1String("GCUSERSETTINGSDATA.MXML")}}
{
}

void SettingsSession::keepStartupValues()
{
    m_startup.clear();
    for (const SessionFile &file : m_files)
        m_startup.insert(shownValues(m_controls, file.file));
}

void SettingsSession::showLastRead()
{
    for (const SessionFile &file : m_files)
        showHeldValues(file.shown, m_controls);
}

void SettingsSession::startRead(const QString &gameFolder)
{
    m_readValues.clear();
    // Another game's values are not this one's: what its files do not hold shows as at start-up.
    if (!m_readFolder.isEmpty() && gameFolder != m_readFolder)
        showHeldValues(m_startup, m_controls);
    if (gameFolder != m_readFolder) {
        for (SessionFile &file : m_files)
            file.everRead = false;
    }
    m_readFolder = gameFolder;
}

QString SettingsSession::read(const QString &gameFolder)
{
    startRead(gameFolder);
    // Paths formed from an empty folder would name files below the working folder: no game's.
    const bool haveFolder = !gameFolder.isEmpty();
    QList<NamedRead> problems;
    for (SessionFile &file : m_files) {
        file.path = haveFolder ? gameFolder + native(QStringLiteral("Binaries/SETTINGS/") + file.name) : QString();
        file.read = readSettingsFile(file.path, haveFolder, file.lines);
        showValues(file.lines, file.file, m_controls, m_readValues, resWidth, resHeight);
        problems.append({file.path, file.read});
    }
    // Only once both are read: a later file may change a control of the earlier one (the resolution).
    for (SessionFile &file : m_files) {
        file.shown = shownValues(m_controls, file.file);
        file.everRead = file.everRead || file.read.state == ReadState::Read;
    }
    return readProblems(problems);
}

void SettingsSession::takeResolution()
{
    for (const CatalogueRow &row : catalogue()) {
        if (row.kind == ControlKind::ResWidth) // the list that shows both halves
            splitResolution(m_controls.text(row.control), resWidth, resHeight);
    }
}

CollectedValues SettingsSession::collected() const
{
    const auto wasRead = [this](SettingsFile file) { return this->file(file).read.state == ReadState::Read; };
    return collectValues(m_controls, m_readValues, wasRead(SettingsFile::Graphics), wasRead(SettingsFile::User),
                         resWidth, resHeight);
}

QSet<QString> SettingsSession::userChanged() const
{
    QSet<QString> changed;
    for (const SessionFile &file : m_files)
        changed.unite(changedControls(m_controls, file.shown));
    return changed;
}

ApplyReport SettingsSession::write(WriteQuestions &ask)
{
    const CollectedValues collected = this->collected();
    if (!collected.refusal.isEmpty())
        return {false, collected.refusal, false, collected.refused};
    const QSet<QString> changed = userChanged();
    const WindowValues window{collected.values, changed, m_controls};
    QList<NamedOutcome> outcomes;
    for (SessionFile &file : m_files)
        outcomes.append({file.path, writeSettingsFile(file.path, file.read, file.file, file.lines, window, ask)});
    // The controls show what the files now hold: the game's changes that were kept, and from then on
    // the values written count as the ones shown.
    for (int i = 0; i < int(m_files.size()); ++i) {
        const FileOutcome &outcome = outcomes.at(i).outcome;
        if (outcome.merge)
            showKeptValues(*outcome.merge, m_controls, m_readValues, resWidth, resHeight);
        if (outcome.status != FileOutcome::NotWritten)
            m_files[i].shown = shownValues(m_controls, m_files[i].file);
    }
    return applyReport(outcomes);
}

namespace {

// Passes the questions on, and stops each file right before it would be replaced.
class Rehearsal final : public WriteQuestions
{
public:
    explicit Rehearsal(WriteQuestions &ask) : m_ask(ask) {}
    bool writeMerged(const QString &path, const Merge &merge) override { return m_ask.writeMerged(path, merge); }
    bool writeReadOnly(const QString &path) override { return m_ask.writeReadOnly(path); }
    bool writeLinked(const QString &path, int others) override { return m_ask.writeLinked(path, others); }
    QString beforeReplace(const QString &, QByteArrayView) override { return QStringLiteral("Only rehearsed."); }

private:
    WriteQuestions &m_ask;
};

} // namespace

void SettingsSession::rehearseWrite(WriteQuestions &ask) const
{
    const CollectedValues collected = this->collected();
    if (!collected.refusal.isEmpty())
        return;
    const QSet<QString> changed = userChanged();
    const WindowValues window{collected.values, changed, m_controls};
    Rehearsal rehearsal(ask);
    for (const SessionFile &file : m_files) {
        // On copies: what was read stays as it was for the write itself.
        FileState state = file.read;
        LineList lines = file.lines;
        (void)writeSettingsFile(file.path, state, file.file, lines, window, rehearsal);
    }
}

void SettingsSession::forget(SettingsFile which)
{
    SessionFile &gone = file(which);
    gone.lines = LineList();
    gone.read = {ReadState::Missing, {}, {}};
    gone.shown.clear();
}

bool SettingsSession::hasUnsavedEdits() const
{
    // Only a file that was read can take the edits; the others have nothing to lose.
    return std::any_of(m_files.begin(), m_files.end(), [this](const SessionFile &file) {
        return file.read.state == ReadState::Read && !changedControls(m_controls, file.shown).isEmpty();
    });
}

QString SettingsSession::unreadReason(SettingsFile which) const
{
    const SessionFile &file = this->file(which);
    const QString path = QDir::toNativeSeparators(file.path);
    switch (file.read.state) {
    case ReadState::NoGameFolder:
        return QStringLiteral("Not read from any file: no game is chosen.");
    case ReadState::Missing:
        return file.everRead ? QStringLiteral("Not read from any file: %1 was deleted. Start the game to make it "
                                              "again, then press Reload.").arg(path)
                             : QStringLiteral("Not read from any file: %1 does not exist yet. Start the game once, "
                                              "then press Reload.").arg(path);
    case ReadState::Unreadable:
        return QStringLiteral("Not read from any file: %1 could not be read (%2).").arg(path, file.read.error);
    case ReadState::Read:
        break;
    }
    return {};
}

} // namespace tarnwell
