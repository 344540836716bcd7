// SPDX-License-Identifier: MIT
#include "windowquestions.h"

#include "files/backups.h"
#include "platform/platform.h"

#include <QDir>

bool WindowQuestions::writeMerged(const QString &path, const tarnwell::Merge &merge)
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
    return m_platform.messageBox(parts.join(QStringLiteral("\n\n")), Platform::YesNo | Platform::Question)
        == Platform::Yes;
}

bool WindowQuestions::writeReadOnly(const QString &path)
{
    return m_platform.messageBox(QStringLiteral("%1\n\nThis settings file is read-only.\n\nWrite it anyway? It "
                                                "stays read-only afterwards.")
                                     .arg(QDir::toNativeSeparators(path)),
                                 Platform::YesNo | Platform::Question)
        == Platform::Yes;
}

bool WindowQuestions::writeLinked(const QString &path, int others)
{
    return m_platform.messageBox(QStringLiteral("%1\n\nThis settings file has %2 other name%3 (hard link%3). Apply "
                                                "puts a new file under this name only: the other name%3 keep%4 the "
                                                "old content.\n\nWrite it anyway?")
                                     .arg(QDir::toNativeSeparators(path))
                                     .arg(others)
                                     .arg(others == 1 ? QString() : QStringLiteral("s"),
                                          others == 1 ? QStringLiteral("s") : QString()),
                                 Platform::YesNo | Platform::Question)
        == Platform::Yes;
}

QString WindowQuestions::beforeReplace(const QString &path, QByteArrayView bytes)
{
    return tarnwell::backUpBytes(m_platform.backupFolder(), path, bytes).problem;
}
