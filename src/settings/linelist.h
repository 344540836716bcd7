// SPDX-License-Identifier: MIT
// A settings file's text as a list of lines, each with its own line end, held as the bytes read.
#pragma once

#include <QByteArray>
#include <QList>

#include <cstring>
#include <map>

namespace tarnwell {

enum class LineEnd : quint8 { None, Lf, CrLf };

// The text is kept once and lines are found by scanning it, so a list costs little more than its
// file. Replaced lines are kept apart, by where the line starts, until the list is rendered.
//
// The game writes lines ending in a line feed; this tool's own output ends such a text with one
// more carriage return and line feed. That final marker is not a line: "a\nb\n\r\n" gives the
// elements "a", "b" and "" just as "a\nb\n" does. Files with carriage return and line feed at the
// end of every line keep them, and a last line without a line feed is a line like any other.
class LineList
{
public:
    struct Line {
        qsizetype index;
        qsizetype start;        // where the line starts in text()
        QByteArrayView content; // without its line end; the replacement where there is one
        LineEnd end;
    };

    LineList() = default;
    explicit LineList(QByteArray text);

    // The bytes the list was made from.
    const QByteArray &text() const { return m_text; }
    bool isEmpty() const { return m_bodyEnd == 0; }
    qsizetype size() const; // counts the lines: linear

    // Calls visit(const Line &) for every line in order.
    template <typename Visit>
    void forEachLine(Visit &&visit) const;

    // Puts content in place of the line's content; its line end stays.
    void replace(const Line &line, QByteArray content);

    // The text to write: every line with its own line end, each two consecutive line feeds made
    // one (left to right, pairs not overlapping), and the end marker after a final bare line feed.
    QByteArray rendered() const;

    // The elements as separate texts (for tests and small files).
    QList<QByteArray> lines() const;

private:
    QByteArray m_text;
    qsizetype m_bodyEnd = 0; // the text without the end marker
    bool m_marker = false;
    std::map<qsizetype, QByteArray> m_replaced;
};

template <typename Visit>
void LineList::forEachLine(Visit &&visit) const
{
    if (m_bodyEnd == 0)
        return;
    const char *data = m_text.constData();
    auto replaced = m_replaced.cbegin();
    qsizetype start = 0;
    for (qsizetype index = 0;; ++index) {
        const void *found = std::memchr(data + start, '\n', size_t(m_bodyEnd - start));
        qsizetype contentEnd = m_bodyEnd;
        LineEnd end = LineEnd::None;
        if (found) {
            const qsizetype lf = static_cast<const char *>(found) - data;
            const bool cr = lf > start && data[lf - 1] == '\r';
            contentEnd = cr ? lf - 1 : lf;
            end = cr ? LineEnd::CrLf : LineEnd::Lf;
        }
        QByteArrayView content(data + start, contentEnd - start);
        if (replaced != m_replaced.cend() && replaced->first == start) {
            content = replaced->second;
            ++replaced;
        }
        visit(Line{index, start, content, end});
        if (end == LineEnd::None)
            return;
        start = contentEnd + (end == LineEnd::CrLf ? 2 : 1);
    }
}

} // namespace tarnwell
