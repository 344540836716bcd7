// SPDX-License-Identifier: MIT
// A settings file's text as a list of lines, each with its own line end, held as the bytes read.
#pragma once

#include "files/chunks.h"

#include <QByteArray>
#include <QList>

#include <cstring>
#include <functional>
#include <type_traits>

namespace tarnwell {

enum class LineEnd : quint8 { None, Lf, CrLf };

// The text is kept once and lines are found by scanning it; output goes out in chunks, so a list
// costs little more than its file, however large the file is.
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
    // May put new content for the line (its line end stays its own) and return true.
    using Replace = std::function<bool(const Line &line, QByteArray &content)>;

    LineList() = default;
    explicit LineList(QByteArray text);

    // The bytes the list was made from.
    const QByteArray &text() const { return m_text; }

    // Calls visit(const Line &) for every line in order.
    template <typename Visit>
    void forEachLine(Visit &&visit) const;

    // The text to write: every line with its own line end (or replaced), each two consecutive
    // line feeds made one (left to right, pairs not overlapping), and the end marker after a final
    // bare line feed. Returns false when the sink stopped it.
    bool render(const Replace &replace, const ChunkSink &sink) const;

private:
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
        const Line line{index, QByteArrayView(data + start, contentEnd - start), end};
        // A visitor that answers false has seen enough.
        if constexpr (std::is_same_v<std::invoke_result_t<Visit &, const Line &>, bool>) {
            if (!visit(line))
                return;
        } else {
            visit(line);
        }
        if (end == LineEnd::None)
            return;
        start = contentEnd + (end == LineEnd::CrLf ? 2 : 1);
    }
}

} // namespace tarnwell
