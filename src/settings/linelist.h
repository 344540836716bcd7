// SPDX-License-Identifier: MIT
// A settings file's text as a list of lines, each with its own line end, held as the bytes read.
#pragma once

#include <QByteArray>
#include <QList>

#include <cstring>

namespace tarnwell {

enum class LineEnd : quint8 { None, Lf, CrLf };

// The text is kept once and lines are found by scanning it, so a list costs little more than its
// file, and writing it costs one more copy: the output.
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
        QByteArrayView content; // without its line end
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

    // The text to write: every line with its own line end, each two consecutive line feeds made
    // one (left to right, pairs not overlapping), and the end marker after a final bare line feed.
    // replace(const Line &, QByteArray &content) may put new content for a line and return true;
    // the line end stays the line's own.
    template <typename Replace>
    QByteArray rendered(Replace &&replace) const;
    QByteArray rendered() const;

    // The elements as separate texts (for tests and small files).
    QList<QByteArray> lines() const;

private:
    // Appends bytes with every two consecutive line feeds made one. A line feed at the end of a
    // piece waits for the next piece, which may hold its partner.
    class Collapser
    {
    public:
        explicit Collapser(QByteArray &out) : m_out(out) {}
        void add(QByteArrayView piece);
        void finish();

    private:
        QByteArray &m_out;
        bool m_pending = false;
    };

    void endOutput(QByteArray &out) const;

    QByteArray m_text;
    qsizetype m_bodyEnd = 0; // the text without the end marker
    bool m_marker = false;
};

template <typename Visit>
void LineList::forEachLine(Visit &&visit) const
{
    if (m_bodyEnd == 0)
        return;
    const char *data = m_text.constData();
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
        visit(Line{index, QByteArrayView(data + start, contentEnd - start), end});
        if (end == LineEnd::None)
            return;
        start = contentEnd + (end == LineEnd::CrLf ? 2 : 1);
    }
}

template <typename Replace>
QByteArray LineList::rendered(Replace &&replace) const
{
    QByteArray out;
    out.reserve(m_bodyEnd + m_bodyEnd / 16 + 2);
    Collapser collapser(out);
    const char *data = m_text.constData();
    qsizetype copied = 0; // the text before this is in the output
    QByteArray content;
    forEachLine([&](const Line &line) {
        content.clear();
        if (!replace(line, content))
            return;
        const qsizetype start = line.content.data() - data;
        collapser.add(QByteArrayView(data + copied, start - copied));
        collapser.add(content);
        copied = start + line.content.size();
    });
    collapser.add(QByteArrayView(data + copied, m_bodyEnd - copied));
    collapser.finish();
    endOutput(out);
    return out;
}

} // namespace tarnwell
