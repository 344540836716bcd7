// SPDX-License-Identifier: MIT
// A launch command line as the user writes it ("gamemoderun %command%", "VAR=1 wine %command%"),
// taken apart into a program, its arguments and environment variables. No shell ever reads it.
#pragma once

#include <QString>
#include <QStringList>

namespace tarnwell {

// Words split at blanks. Double quotes keep blanks in a word, a backslash inside them keeps the next
// character ("\"" a quote, "\\" a backslash); single quotes keep everything up to the next one;
// outside quotes a backslash keeps the next character. Nothing else is special: ; | & $ ( ) ` * ~
// are plain characters. An unclosed quote runs to the end of the line.
[[nodiscard]] QStringList splitCommandLine(const QString &line);

struct LaunchLine {
    QStringList environment; // NAME=value words before the program
    QString program;
    QStringList arguments;
    QString problem; // why it cannot be run; empty when it can
};

// The words with %command% replaced by the executable wherever it stands; without %command%, as
// in Steam's launch options, the words are the game's own arguments after its executable.
[[nodiscard]] LaunchLine launchLine(const QString &commandLine, const QString &exePath);

} // namespace tarnwell
