// SPDX-License-Identifier: MIT
#include "cligame.h"

#include "files/backups.h"
#include "files/pathcase.h"
#include "files/toolfiles.h"
#include "registration/configfile.h"
#include "registration/gamefolder.h"
#include "settings/profilestore.h"
#include "settings/propertyline.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tarnwell::cli {

namespace {

// The writer's questions, answered without asking: the game's own changes are merged in, and what
// the window would ask about first is written only when forced.
class CliQuestions final : public WriteQuestions
{
public:
    CliQuestions(const Environment &environment, bool force) : m_environment(environment), m_force(force) {}

    bool writeMerged(const QString &, const Merge &) override { return true; }
    bool writeReadOnly(const QString &path) override
    {
        return allowed(QStringLiteral("%1 is read-only: --force writes it all the same, and it stays read-only.").arg(path));
    }
    bool writeLinked(const QString &path, int) override
    {
        return allowed(QStringLiteral("%1 has other names (hard links), which keep the old content: --force writes it "
                                      "all the same.").arg(path));
    }
    QString beforeReplace(const QString &path, QByteArrayView bytes) override
    {
        return backUpBytes(m_environment.backupFolder, path, bytes).problem;
    }

    bool refused() const { return m_refused; }

private:
    bool allowed(const QString &why)
    {
        if (!m_force) {
            m_environment.err(why);
            m_refused = true;
        }
        return m_force;
    }

    const Environment &m_environment;
    bool m_force;
    bool m_refused = false;
};

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

int CliGame::open(const QString &exeOption)
{
    m_exePath = exeOption.isEmpty() ? QString() : shown(QFileInfo(exeOption).absoluteFilePath());
    if (m_exePath.isEmpty()) {
        const QString config = configFilePath(m_environment.programFolder);
        const StoredPath stored = readStoredPath(config);
        if (stored.status == StoredPath::Status::Failed) {
            m_environment.err(QStringLiteral("Cannot read %1: %2.").arg(config, stored.error));
            return NoGame;
        }
        m_exePath = stored.path;
    }
    if (m_exePath.isEmpty()) {
        m_environment.err(QStringLiteral("No game executable is registered: choose Quillvane's QVX.EXE in the window "
                                         "once, or give --game PATH."));
        return NoGame;
    }
    m_folder = gameFolderOf(m_exePath);
    if (!fileExists(m_exePath) || m_folder.isEmpty()) {
        m_environment.err(QStringLiteral("The game executable %1 does not exist.").arg(m_exePath));
        return NoGame;
    }
    static_cast<void>(m_session.read(m_folder)); // each file's state is looked at by need()
    keepFirstFound();
    return Done;
}

void CliGame::keepFirstFound()
{
    // Before the first write: the values the game had before any experiment.
    const ProfileValues values = valuesInFiles(m_session);
    if (values.isEmpty())
        return;
    if (const QString problem = tarnwell::keepFirstFound(m_environment.toolFolder, m_folder, values); !problem.isEmpty())
        m_environment.err(QStringLiteral("The values first found are not kept: %1").arg(problem));
}

int CliGame::need(const QStringList &properties, bool forWriting)
{
    int code = Done;
    for (const SessionFile &file : m_session.files()) {
        const bool holdsOne = std::any_of(properties.cbegin(), properties.cend(), [&file](const QString &name) {
            return rowOfSetting(name) >= 0 && catalogue()[rowOfSetting(name)].file == file.file;
        });
        if (file.read.state == ReadState::Read || (!holdsOne && !(forWriting && file.read.state == ReadState::Unreadable)))
            continue;
        if (file.read.state == ReadState::Unreadable)
            m_environment.err(QStringLiteral("%1 cannot be read: %2.").arg(shown(file.path), file.read.error));
        else
            m_environment.err(QStringLiteral("%1 does not exist: start the game once to make it.").arg(shown(file.path)));
        code = NoGame;
    }
    return code;
}

std::optional<QByteArray> CliGame::fileValue(const QString &property) const
{
    const RowIndex row = rowOfSetting(property);
    if (row < 0)
        return std::nullopt;
    const SessionFile &file = m_session.file(catalogue()[row].file);
    const PropertyValues values = propertyValues(file.lines, file.file);
    const auto found = values.constFind(property.toLatin1());
    return found == values.cend() ? std::nullopt : std::optional<QByteArray>(*found);
}

int CliGame::write(const ProfileValues &values, bool force)
{
    const ValueCheck check = checkValues(values, m_session.readValues());
    if (!check.refused.isEmpty()) {
        for (const QString &refused : check.refused)
            m_environment.err(refused);
        m_environment.err(QStringLiteral("Nothing was written."));
        return Refused;
    }
    if (!force && m_environment.gameRunning(m_exePath)) {
        m_environment.err(QStringLiteral("Quillvane is running (%1): the game writes its settings files when it exits, "
                                         "over what is written now. Nothing was written; --force writes anyway.")
                              .arg(m_exePath));
        return GameRunning;
    }
    putValues(values, m_controls);
    m_session.takeResolution();
    CliQuestions ask(m_environment, force);
    // What the writer would refuse without --force is found for both files before either is written.
    if (!force) {
        m_session.rehearseWrite(ask);
        if (ask.refused()) {
            m_environment.err(QStringLiteral("Nothing was written."));
            return WriteFailed;
        }
    }
    const ApplyReport report = m_session.write(ask);
    if (report.ok)
        return Done;
    m_environment.err(report.message);
    return WriteFailed;
}

} // namespace tarnwell::cli
