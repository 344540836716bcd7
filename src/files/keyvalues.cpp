// SPDX-License-Identifier: MIT
#include "files/keyvalues.h"

#include "files/filecontent.h"

namespace tarnwell {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == '\0';
}

// One pass over the text: every step moves `at` forward, so no input can make it loop, and blocks
// deeper than the limit are skipped by counting braces rather than by recursion.
class Parser
{
public:
    Parser(QByteArrayView text, const KeyValuesLimits &limits) : m_text(text), m_limits(limits) {}

    KeyValues block(int depth)
    {
        KeyValues result;
        while (skipBlanks()) {
            const char c = m_text[m_at];
            if (c == '}') {
                ++m_at;
                if (depth > 0)
                    return result;
                continue; // a stray brace at the outside
            }
            if (c == '{') { // a block without a key
                ++m_at;
                skipBlock();
                continue;
            }
            const QString key = token();
            if (!skipBlanks())
                break;
            if (m_text[m_at] == '{') {
                ++m_at;
                if (depth + 1 >= m_limits.depth || m_entries >= m_limits.entries) {
                    skipBlock();
                } else {
                    ++m_entries;
                    result.blocks.append({key, block(depth + 1)});
                }
                skipCondition();
            } else if (m_text[m_at] != '}') {
                const QString value = token();
                if (m_entries < m_limits.entries) {
                    ++m_entries;
                    result.values.append({key, value});
                }
                skipCondition();
            }
        }
        return result;
    }

private:
    // Moves past blanks and comments; false at the end of the text.
    bool skipBlanks()
    {
        while (m_at < m_text.size()) {
            if (isSpace(m_text[m_at])) {
                ++m_at;
            } else if (m_text[m_at] == '/' && m_at + 1 < m_text.size() && m_text[m_at + 1] == '/') {
                while (m_at < m_text.size() && m_text[m_at] != '\n')
                    ++m_at;
            } else {
                return true;
            }
        }
        return false;
    }

    void skipBlock()
    {
        for (int open = 1; open > 0 && skipBlanks();) {
            const char c = m_text[m_at];
            if (c == '{' || c == '}') {
                open += c == '{' ? 1 : -1;
                ++m_at;
            } else {
                token(); // braces inside quotes do not count
            }
        }
    }

    void skipCondition()
    {
        if (skipBlanks() && m_text[m_at] == '[') {
            while (m_at < m_text.size() && m_text[m_at] != ']' && m_text[m_at] != '\n')
                ++m_at;
            if (m_at < m_text.size() && m_text[m_at] == ']')
                ++m_at;
        }
    }

    QString token()
    {
        QByteArray bytes;
        if (m_text[m_at] == '"') {
            for (++m_at; m_at < m_text.size() && m_text[m_at] != '"'; ++m_at) {
                char c = m_text[m_at];
                if (c == '\\' && m_at + 1 < m_text.size()) {
                    c = m_text[++m_at];
                    c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
                }
                if (bytes.size() < m_limits.token)
                    bytes += c;
            }
            ++m_at; // the closing quote, or past the end of an unclosed token
        } else {
            const qsizetype start = m_at;
            while (m_at < m_text.size() && !isSpace(m_text[m_at]) && m_text[m_at] != '{' && m_text[m_at] != '}'
                   && m_text[m_at] != '"')
                ++m_at;
            bytes = m_text.sliced(start, qMin(m_at - start, m_limits.token)).toByteArray();
        }
        return QString::fromUtf8(bytes);
    }

    QByteArrayView m_text;
    KeyValuesLimits m_limits;
    qsizetype m_at = 0;
    int m_entries = 0;
};

} // namespace

QString KeyValues::value(QStringView key) const
{
    for (const auto &[name, text] : values) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return text;
    }
    return {};
}

const KeyValues *KeyValues::block(QStringView key) const
{
    for (const auto &[name, inside] : blocks) {
        if (name.compare(key, Qt::CaseInsensitive) == 0)
            return &inside;
    }
    return nullptr;
}

KeyValues parseKeyValues(QByteArrayView text, const KeyValuesLimits &limits)
{
    return Parser(text, limits).block(0);
}

KeyValuesFile readKeyValuesFile(const QString &path, qint64 limit)
{
    const FileBytes file = readWholeFile(path, limit);
    if (!file.ok())
        return {{}, file.error};
    return {parseKeyValues(file.bytes), {}};
}

} // namespace tarnwell
