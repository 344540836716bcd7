// SPDX-License-Identifier: MIT
#include "maintenance/launchline.h"

#include <QList>
#include <QRegularExpression>

namespace tarnwell {

namespace {

const QString kPlaceholder = QStringLiteral("%command%");

struct Word {
    QString text;
    qsizetype plain = -1; // how many leading characters stood outside quotes and escapes; -1: all so far
};

// The words as the splitters find them, each knowing how much of its start was written plainly.
class Words
{
public:
    void add(QChar c, bool plain)
    {
        m_inWord = true;
        if (!plain)
            endPlain();
        m_word.text += c;
    }
    // A quote: a word starts even when nothing follows ("" is an empty word), and no longer plainly.
    void quote()
    {
        m_inWord = true;
        endPlain();
    }
    void end()
    {
        if (m_inWord) {
            endPlain();
            m_words << std::exchange(m_word, {});
        }
        m_inWord = false;
    }
    QList<Word> take()
    {
        end();
        return std::move(m_words);
    }

private:
    void endPlain()
    {
        if (m_word.plain < 0)
            m_word.plain = m_word.text.size();
    }

    QList<Word> m_words;
    Word m_word;
    bool m_inWord = false;
};

QList<Word> splitUnix(const QString &line)
{
    Words words;
    for (qsizetype at = 0; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == u'"' || c == u'\'') {
            words.quote();
            for (++at; at < line.size() && line[at] != c; ++at) {
                if (c == u'"' && line[at] == u'\\' && at + 1 < line.size()
                    && (line[at + 1] == u'"' || line[at + 1] == u'\\'))
                    ++at;
                words.add(line[at], false);
            }
        } else if (c == u'\\' && at + 1 < line.size()) {
            words.add(line[++at], false);
        } else if (c.isSpace()) {
            words.end();
        } else {
            words.add(c, true);
        }
    }
    return words.take();
}

QList<Word> splitWindows(const QString &line)
{
    Words words;
    bool quoted = false;
    for (qsizetype at = 0; at < line.size(); ++at) {
        const QChar c = line[at];
        if (c == u'\\') {
            qsizetype run = 0;
            for (; at < line.size() && line[at] == u'\\'; ++at)
                ++run;
            const bool beforeQuote = at < line.size() && line[at] == u'"';
            for (qsizetype i = 0; i < (beforeQuote ? run / 2 : run); ++i)
                words.add(u'\\', !quoted && !beforeQuote);
            if (beforeQuote && run % 2 == 1)
                words.add(u'"', false);
            else
                --at; // what follows the run is looked at on its own
        } else if (c == u'"') {
            if (quoted && at + 1 < line.size() && line[at + 1] == u'"')
                words.add(line[++at], false);
            else
                quoted = !quoted;
            words.quote();
        } else if (!quoted && (c == u' ' || c == u'\t')) {
            words.end();
        } else {
            words.add(c, !quoted);
        }
    }
    return words.take();
}

QList<Word> split(const QString &line, CommandLineRules rules)
{
    return rules == CommandLineRules::Windows ? splitWindows(line) : splitUnix(line);
}

// NAME=value with the name and "=" written plainly: a quoted "A=b c" is a program's name or argument.
bool isSetting(const Word &word)
{
    static const QRegularExpression variable(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*="));
    const QRegularExpressionMatch match = variable.match(word.text);
    return match.hasMatch() && match.capturedLength() <= word.plain;
}

} // namespace

CommandLineRules systemCommandLineRules()
{
#ifdef Q_OS_WIN
    return CommandLineRules::Windows;
#else
    return CommandLineRules::Unix;
#endif
}

QStringList splitCommandLine(const QString &line, CommandLineRules rules)
{
    QStringList texts;
    for (const Word &word : split(line, rules))
        texts << word.text;
    return texts;
}

LaunchLine launchLine(const QString &commandLine, const QString &exePath, CommandLineRules rules)
{
    QList<Word> words = split(commandLine, rules);
    LaunchLine launch;
    while (!words.isEmpty() && isSetting(words.first()))
        launch.environment << words.takeFirst().text;
    QStringList texts;
    for (const Word &word : words)
        texts << word.text;
    if (!commandLine.contains(kPlaceholder))
        texts.prepend(exePath);
    else
        texts.replaceInStrings(kPlaceholder, exePath);
    if (texts.isEmpty() || texts.first().isEmpty()) {
        launch.problem = QStringLiteral("the command line names no program");
        return launch;
    }
    launch.program = texts.takeFirst();
    launch.arguments = texts;
    return launch;
}

const QStringList &compatibilityLayers()
{
    static const QStringList names{QStringLiteral("wine"),         QStringLiteral("wine64"),
                                   QStringLiteral("wine-stable"),  QStringLiteral("wine-staging"),
                                   QStringLiteral("wine-development"), QStringLiteral("proton"),
                                   QStringLiteral("umu-run"),      QStringLiteral("bottles-cli")};
    return names;
}

bool namesCompatibilityLayer(const QString &commandLine, CommandLineRules rules)
{
    static const QRegularExpression folders(QStringLiteral("^.*[/\\\\]"));
    for (const Word &word : split(commandLine, rules)) {
        if (word.text.contains(kPlaceholder))
            return false;
        if (!isSetting(word) && compatibilityLayers().contains(QString(word.text).remove(folders), Qt::CaseInsensitive))
            return true;
    }
    return false; // without %command%, the game's executable is the program itself
}

} // namespace tarnwell
