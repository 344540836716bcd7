// SPDX-License-Identifier: MIT
#include "registration/versionlist.h"

#include "files/filecontent.h"
#include "files/pathcase.h"
#include "registration/legacytext.h"


namespace tarnwell {

namespace {
constexpr qsizetype kDigestLength = 32;
constexpr qsizetype kNameStart = 33; // 0-based: the 34th character
// Tens of thousands of releases fit in a few megabytes.
constexpr qint64 kVersionListLimit = 4 << 20;
} // namespace

QStringList versionListLines(const QByteArray &content)
{
    const QString text = decodeToolText(content);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('\r'))
            continue;
        lines << text.mid(start, i - start);
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.mid(start);
    return lines;
}

std::optional<QString> findVersionName(const QStringList &lines, const QString &lowerDigest)
{
    std::optional<QString> found;
    for (const QString &line : lines) {
        if (line.size() >= kDigestLength && QStringView(line).left(kDigestLength) == lowerDigest)
            found = line.mid(kNameStart);
    }
    return found;
}

VersionList readVersionList(const QString &path)
{
    const FileBytes file = readWholeFile(resolveCase(path), kVersionListLimit);
    if (!file.ok())
        return {{}, file.error};
    return {versionListLines(file.bytes), QString()};
}

} // namespace tarnwell
