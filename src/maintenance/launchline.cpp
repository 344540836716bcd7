// SPDX-License-Identifier: MIT
#include "maintenance/launchline.h"

#include <QRegularExpression>

namespace tarnwell {

QStringList splitCommandLine(const QString &line)
{
    QStringList words;
    QString word;
    bool inWord = false;
    for (qsizetype at = 0; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == u'"' || c == u'\'') {
            inWord = true;
            for (++at; at < line.size() && line[at] != c; ++at) {
                if (c == u'"' && line[at] == u'\\' && at + 1 < line.size()
                    && (line[at + 1] == u'"' || line[at + 1] == u'\\'))
                    ++at;
                word += line[at];
            }
        } else if (c == u'\\' && at + 1 < line.size()) {
            inWord = true;
            word += line[++at];
        } else if (c.isSpace()) {
            if (inWord)
                words << std::exchange(word, {});
            inWord = false;
        } else {
            inWord = true;
            word += c;
        }
    }
    if (inWord)
        words << word;
    return words;
}

LaunchLine launchLine(const QString &commandLine, const QString &exePath)
{
    static const QRegularExpression variable(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*="));
    const QString placeholder = QStringLiteral("%command%");
    QStringList words = splitCommandLine(commandLine);
    LaunchLine launch;
    while (!words.isEmpty() && variable.match(words.first()).hasMatch())
        launch.environment << words.takeFirst();
    if (!commandLine.contains(placeholder))
        words.prepend(exePath);
    else
        words.replaceInStrings(placeholder, exePath);
    if (words.isEmpty() || words.first().isEmpty()) {
        launch.problem = QStringLiteral("the command line names no program");
        return launch;
    }
    launch.program = words.takeFirst();
    launch.arguments = words;
    return launch;
}

} // namespace tarnwell
