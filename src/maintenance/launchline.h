// SPDX-License-Identifier: MIT
// A launch command line as the user writes it ("gamemoderun %command%", "VAR=1 wine %command%"),
// taken apart into a program, its arguments and environment variables. No shell ever reads it.
#pragma once

#include <QString>
#include <QStringList>

namespace tarnwell {

// How words are split, as the system's own programs split them.
// Unix: double quotes keep blanks in a word, a backslash inside them keeps the next character ("\""
// a quote, "\\" a backslash); single quotes keep everything up to the next one; outside quotes a
// backslash keeps the next character.
// Windows, as a program's run-time library splits its command line: only double quotes keep
// blanks, and "" inside them is a quote; a backslash is a plain character (C:\Games\tool.exe stays
// whole) except in a run of backslashes before a double quote, where each pair gives one backslash
// and an odd one left makes the quote a plain character.
// On both, nothing else is special: ; | & $ ( ) ` * ~ are plain characters, and an unclosed quote
// runs to the end of the line.
enum class CommandLineRules { Unix, Windows };
[[nodiscard]] CommandLineRules systemCommandLineRules();

[[nodiscard]] QStringList splitCommandLine(const QString &line, CommandLineRules rules = systemCommandLineRules());

struct LaunchLine {
    QStringList environment; // NAME=value words before the program, "NAME=" outside quotes
    QString program;
    QStringList arguments;
    QString problem; // why it cannot be run; empty when it can
};

// The words with %command% replaced by the executable wherever it stands; without %command%, as
// in Steam's launch options, the words are the game's own arguments after its executable.
[[nodiscard]] LaunchLine launchLine(const QString &commandLine, const QString &exePath,
                                    CommandLineRules rules = systemCommandLineRules());

// The programs that start a Windows program on another system, by file name: wine, wine64,
// proton, umu-run, ... (not steam-run: it runs Linux programs only)
[[nodiscard]] const QStringList &compatibilityLayers();
// True when a word before %command% (the program, or a program it calls) is one of them.
[[nodiscard]] bool namesCompatibilityLayer(const QString &commandLine,
                                           CommandLineRules rules = systemCommandLineRules());

} // namespace tarnwell
