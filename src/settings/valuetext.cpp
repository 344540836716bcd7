// SPDX-License-Identifier: MIT
#include "settings/valuetext.h"

#include <QLocale>

namespace tarnwell {

namespace {

// The local 8-bit encoding is UTF-8 on Unix and the ANSI code page on Windows, as wanted.
QByteArray encodeText(QStringView text)
{
    return text.toLocal8Bit();
}

bool survivesEncoding(QStringView text)
{
    return decodeValue(encodeText(text)) == text;
}

bool isLineBreak(char32_t c)
{
    return c == U'\n' || c == U'\r' || c == U'\v' || c == U'\f' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

QString codePoint(char32_t code)
{
    return QString::number(uint(code), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace

QString decodeValue(QByteArrayView bytes)
{
    return QString::fromLocal8Bit(bytes);
}

QString valueProblem(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"'))
            return QStringLiteral("holds a double quote (\"), which would end the value early");
        if (c == QLatin1Char('<'))
            return QStringLiteral("holds a \"<\", which would break the settings file");
        if (isLineBreak(c.unicode()))
            return QStringLiteral("holds a line break");
        // A tab breaks neither the line nor the file: the game's own files indent with it.
        if (c.category() == QChar::Other_Control && c != QLatin1Char('\t'))
            return QStringLiteral("holds a control character (U+%1)").arg(codePoint(c.unicode()));
    }
    if (survivesEncoding(text))
        return {};
    // Name the first character that does not survive.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QStringView one = QStringView(text).sliced(i, length);
        if (!survivesEncoding(one)) {
            const char32_t code = one.size() == 2 ? QChar::surrogateToUcs4(one[0], one[1]) : one[0].unicode();
            return QStringLiteral("holds a character (\"%1\", U+%2) that the settings file's encoding cannot hold")
                .arg(one.toString(), codePoint(code));
        }
        i += length - 1;
    }
    return QStringLiteral("holds characters that the settings file's encoding cannot hold");
}

QString shownValue(QByteArrayView bytes)
{
    // A value far longer than any setting would take the window seconds and gigabytes to show whole:
    // its start and its size stand for it.
    if (bytes.size() <= kLongValue)
        return decodeValue(bytes);
    return decodeValue(bytes.first(32))
        + QStringLiteral("\u2026 (a value of %1, kept as it is)")
              .arg(QLocale::c().formattedDataSize(bytes.size(), 1, QLocale::DataSizeTraditionalFormat));
}

QString ReadValues::remember(QByteArrayView property, QByteArrayView bytes)
{
    // Its bytes wait here to go back as they came, whatever the window shows of them.
    Read read{shownValue(bytes), bytes.toByteArray(), bytes.size() > kLongValue};
    QString text = read.text;
    m_read.insert(property.toByteArray(), std::move(read));
    return text;
}

bool ReadValues::keptAside(QByteArrayView property) const
{
    const auto found = m_read.constFind(property.toByteArray());
    return found != m_read.cend() && found->aside;
}

bool ReadValues::unchanged(QByteArrayView property, const QString &text) const
{
    const auto found = m_read.constFind(property.toByteArray());
    return found != m_read.cend() && found->text == text;
}

EncodedValue ReadValues::encode(QByteArrayView property, const QString &text) const
{
    const auto found = m_read.constFind(property.toByteArray());
    if (found != m_read.cend() && found->text == text)
        return {found->bytes, {}};
    // The shortened form of a value too long to show stands for it only as it is: edited, it would
    // write its start over the whole value.
    if (found != m_read.cend() && found->aside && text.contains(found->text.section(QChar(0x2026), 1)))
        return {{}, QStringLiteral("is the shortened form of a value too long to show, which only the game's "
                                   "file can change")};
    QString problem = valueProblem(text);
    if (!problem.isEmpty())
        return {{}, problem};
    return {encodeText(text), {}};
}

} // namespace tarnwell
