// SPDX-License-Identifier: MIT
// The game's settings files as the command line reads and writes them: through the same settings
// session as the window, over controls that hold values without widgets.
#pragma once

#include "cli.h"

#include "settings/heldcontrols.h"
#include "settings/profilevalues.h"
#include "settings/settingssession.h"

#include <optional>

namespace tarnwell::cli {

class CliGame
{
public:
    explicit CliGame(const Environment &environment) : m_environment(environment) {}

    // Finds the executable (`exeOption`, else the registered one) and reads both settings files;
    // keeps the values first found. Done, or NoGame with the reason said.
    [[nodiscard]] int open(const QString &exeOption);
    // Done when every file that holds one of the properties was read (and, for a write, no file
    // failed to read); otherwise NoGame, each file and its reason said.
    [[nodiscard]] int need(const QStringList &properties, bool forWriting);
    // The value the file holds for the property (its last line), or none.
    [[nodiscard]] std::optional<QByteArray> fileValue(const QString &property) const;
    // Checks the values (Refused when one is refused, each said), puts them into the controls and
    // writes the files as "Apply" does: GameRunning unless forced, WriteFailed when a file was not written.
    [[nodiscard]] int write(const ProfileValues &values, bool force);

    const QString &exePath() const { return m_exePath; }
    const SettingsSession &session() const { return m_session; }
    const HeldControls &controls() const { return m_controls; }

private:
    void keepFirstFound();

    const Environment &m_environment;
    HeldControls m_controls;
    SettingsSession m_session{m_controls};
    QString m_exePath;
    QString m_folder;
};

} // namespace tarnwell::cli
