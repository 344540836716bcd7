// SPDX-License-Identifier: MIT
#include "settings/linelist.h"

namespace tarnwell {

namespace {

// The marker is a final empty CR LF line straight after a bare line feed, or the whole text.
bool endsWithMarker(const QByteArray &text)
{
    const qsizetype n = text.size();
    if (!text.endsWith("\r\n"))
        return false;
    if (n == 2)
        return true;
    return text.at(n - 3) == '\n' && (n == 3 || text.at(n - 4) != '\r');
}

// Appends bytes to the output with every two consecutive line feeds made one. A line feed at the
// end of a piece waits for the next piece, which may hold its partner.
class Collapser
{
public:
    explicit Collapser(QByteArray &out) : m_out(out) {}

    void add(QByteArrayView piece)
    {
        const char *p = piece.data();
        const char *const end = p + piece.size();
        if (m_pending && p < end) {
            m_out.append('\n');
            m_pending = false;
            if (*p == '\n')
                ++p;
        }
        const char *run = p;
        while (p < end) {
            const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
            if (!lf)
                break;
            if (lf + 1 == end) {
                m_out.append(run, lf - run);
                m_pending = true;
                return;
            }
            if (lf[1] == '\n') {
                m_out.append(run, lf + 1 - run);
                run = p = lf + 2;
            } else {
                p = lf + 1;
            }
        }
        m_out.append(run, end - run);
    }

    void finish()
    {
        if (m_pending)
            m_out.append('\n');
        m_pending = false;
    }

private:
    QByteArray &m_out;
    bool m_pending = false;
};

} // namespace

LineList::LineList(QByteArray text)
    : m_text(std::move(text))
{
    m_marker = endsWithMarker(m_text);
    m_bodyEnd = m_marker ? m_text.size() - 2 : m_text.size();
}

qsizetype LineList::size() const
{
    qsizetype count = 0;
    forEachLine([&count](const Line &) { ++count; });
    return count;
}

void LineList::replace(const Line &line, QByteArray content)
{
    m_replaced[line.start] = std::move(content);
}

QByteArray LineList::rendered() const
{
    qsizetype size = m_bodyEnd + 2;
    for (const auto &[start, content] : m_replaced)
        size += content.size();
    QByteArray out;
    out.reserve(size);

    Collapser collapser(out);
    const char *data = m_text.constData();
    qsizetype copied = 0; // the text up to here is in the output
    for (const auto &[start, content] : m_replaced) {
        const void *found = std::memchr(data + start, '\n', size_t(m_bodyEnd - start));
        qsizetype contentEnd = m_bodyEnd;
        if (found) {
            const qsizetype lf = static_cast<const char *>(found) - data;
            contentEnd = lf > start && data[lf - 1] == '\r' ? lf - 1 : lf;
        }
        collapser.add(QByteArrayView(data + copied, start - copied));
        collapser.add(content);
        copied = contentEnd;
    }
    collapser.add(QByteArrayView(data + copied, m_bodyEnd - copied));
    collapser.finish();

    const bool bareLfAtEnd = out.endsWith('\n') && !out.endsWith("\r\n");
    if (bareLfAtEnd || (out.isEmpty() && m_marker))
        out.append("\r\n");
    return out;
}

QList<QByteArray> LineList::lines() const
{
    QList<QByteArray> result;
    forEachLine([&result](const Line &line) { result.append(line.content.toByteArray()); });
    return result;
}

} // namespace tarnwell
