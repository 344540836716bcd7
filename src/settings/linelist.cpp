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

void LineList::Collapser::add(QByteArrayView piece)
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

void LineList::Collapser::finish()
{
    if (m_pending)
        m_out.append('\n');
    m_pending = false;
}

QByteArray LineList::rendered() const
{
    return rendered([](const Line &, QByteArray &) { return false; });
}

void LineList::endOutput(QByteArray &out) const
{
    const bool bareLfAtEnd = out.endsWith('\n') && !out.endsWith("\r\n");
    if (bareLfAtEnd || (out.isEmpty() && m_marker))
        out.append("\r\n");
}

QList<QByteArray> LineList::lines() const
{
    QList<QByteArray> result;
    forEachLine([&result](const Line &line) { result.append(line.content.toByteArray()); });
    return result;
}

} // namespace tarnwell
