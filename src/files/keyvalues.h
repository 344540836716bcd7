// SPDX-License-Identifier: MIT
// Steam's key-values text (.vdf, .acf) read tolerantly: whatever the bytes, the reader returns what
// it could make out, in bounded time and memory, and never fails.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

namespace tarnwell {

struct KeyValues {
    QList<std::pair<QString, QString>> values;    // "key" "value", in file order
    QList<std::pair<QString, KeyValues>> blocks;  // "key" { ... }, in file order

    // The first value or block of that key, letter case ignored; empty text or null when none.
    [[nodiscard]] QString value(QStringView key) const;
    [[nodiscard]] const KeyValues *block(QStringView key) const;
};

struct KeyValuesLimits {
    int depth = 8;           // blocks nested deeper are skipped whole
    int entries = 100000;    // values and blocks kept in all; the rest is not read
    qsizetype token = 4096;  // longer keys and values are cut to this many bytes
};

// The entries of the text, as if it were the inside of one outer block. Comments ("//" to the line's
// end), escapes in quoted tokens, bare tokens and conditions ("[$WIN32]") are understood; an unclosed
// quote or block ends at the end of the text, a stray "}" is passed over. Text is UTF-8.
[[nodiscard]] KeyValues parseKeyValues(QByteArrayView text, const KeyValuesLimits &limits = {});

struct KeyValuesFile {
    KeyValues root;
    QString error; // why the file could not be read: none there, no regular file, too large
};

// Reads and parses the regular file at `path` when it holds at most `limit` bytes; nothing on
// anything else (see readWholeFile()).
[[nodiscard]] KeyValuesFile readKeyValuesFile(const QString &path, qint64 limit);

} // namespace tarnwell
