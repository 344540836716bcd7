// SPDX-License-Identifier: MIT
// Values between the bytes of a settings file and the texts of the controls.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace tarnwell {

// The file's bytes as a control shows them: UTF-8 here, the system's 8-bit code page on Windows.
QString decodeValue(QByteArrayView bytes);

// Why the text cannot go into a property line (a phrase that follows "it"), or empty when it can.
QString valueProblem(const QString &text);

struct EncodedValue {
    QByteArray bytes;
    QString problem; // as valueProblem(); bytes are meaningless when set
};

// Longer values than this are shown shortened, and read-only: no real setting comes near it.
inline constexpr qsizetype kLongValue = 64 << 10;

// The value as the window shows it: decoded, or for a value longer than kLongValue, its start and size.
QString shownValue(QByteArrayView bytes);

// The values last read, so that a value the user left alone goes back byte for byte, even where
// its bytes were not valid in the file's encoding.
class ReadValues
{
public:
    void clear() { m_read.clear(); }
    // Remembers the bytes read for the property and returns the text to show: for a value longer than
    // kLongValue, its start and its size.
    QString remember(QByteArrayView property, QByteArrayView bytes);
    // True when the value read was too long to show: its control shows it shortened, read-only.
    bool keptAside(QByteArrayView property) const;
    // The bytes to write for the property's text: the bytes read when the text is unchanged, the
    // text encoded and checked otherwise.
    EncodedValue encode(QByteArrayView property, const QString &text) const;
    // True when the text is what was read for the property: it goes back as it came, in range or not.
    bool unchanged(QByteArrayView property, const QString &text) const;

private:
    struct Read {
        QString text;
        QByteArray bytes;
        bool aside = false;
    };
    QHash<QByteArray, Read> m_read;
};

} // namespace tarnwell
