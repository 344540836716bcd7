// SPDX-License-Identifier: MIT
// Fuzz target: the known-versions list's lines from arbitrary bytes, and a release found by its digest.
#include "fuzzcheck.h"

#include "registration/legacytext.h"
#include "registration/versionlist.h"

#include <QCryptographicHash>

using namespace tarnwell;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = versionListLines(content);

    // The lines hold the text, less each CR and each LF straight after one, and no CR.
    const QString text = decodeToolText(content);
    QString expected;
    qsizetype ends = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r') {
            expected += text[i];
            continue;
        }
        ++ends;
        if (i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
    }
    require(lines.join(QString()) == expected, "the lines do not hold the text");
    require(!lines.join(QString()).contains(u'\r'), "a line holds a CR");
    const bool lastOpen = !text.isEmpty() && !text.endsWith(u'\r') && !text.endsWith(QStringLiteral("\r\n"));
    require(lines.size() == ends + (lastOpen ? 1 : 0), "the lines are not counted by their ends");

    // A digest that no line carries finds nothing; listed twice at the end, the last line names the release.
    const QByteArray digest = QCryptographicHash::hash(content, QCryptographicHash::Md5).toHex();
    require(!findVersionName(lines, QString::fromLatin1(digest)), "a release was found for a digest not listed");
    const QByteArray name = "Release " + QByteArray::number(qulonglong(size)) + " (test)";
    const QStringList listed = versionListLines(content + "\r\n" + digest + " Older\r" + digest + '\t' + name);
    require(findVersionName(listed, QString::fromLatin1(digest)) == QString::fromLatin1(name),
            "the last line with the digest does not name the release");
    return 0;
}
