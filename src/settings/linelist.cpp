// SPDX-License-Identifier: MIT
#include "settings/linelist.h"

namespace tarnwell {

namespace {

constexpr qsizetype kChunk = 64 << 10; // small enough to stay in the heap: no fresh pages per use

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

// Gathers output into chunks for the sink and remembers how it ends.
class Output
{
public:
    explicit Output(const ChunkSink &sink) : m_sink(sink) { m_buffer.reserve(kChunk); }

    void append(const char *bytes, qsizetype size)
    {
        if (size <= 0)
            return;
        m_beforeLast = size >= 2 ? bytes[size - 2] : m_last;
        m_last = bytes[size - 1];
        m_total += size;
        while (size > 0 && !m_stopped) {
            const qsizetype take = std::min(size, kChunk - m_buffer.size());
            m_buffer.append(bytes, take);
            bytes += take;
            size -= take;
            if (m_buffer.size() == kChunk)
                flush();
        }
    }

    bool flush()
    {
        if (!m_buffer.isEmpty() && !m_stopped)
            m_stopped = !m_sink(m_buffer);
        m_buffer.resize(0);
        return !m_stopped;
    }

    bool stopped() const { return m_stopped; }
    bool isEmpty() const { return m_total == 0; }
    bool endsWithBareLf() const { return m_total > 0 && m_last == '\n' && !(m_total > 1 && m_beforeLast == '\r'); }

private:
    const ChunkSink &m_sink;
    QByteArray m_buffer;
    char m_beforeLast = 0;
    char m_last = 0;
    qsizetype m_total = 0;
    bool m_stopped = false;
};

// Passes bytes on with every two consecutive line feeds made one. A line feed at the end of a
// piece waits for the next piece, which may hold its partner.
class Collapser
{
public:
    explicit Collapser(Output &out) : m_out(out) {}

    void add(QByteArrayView piece)
    {
        const char *p = piece.data();
        const char *const end = p + piece.size();
        if (m_pending && p < end) {
            m_out.append("\n", 1);
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
            m_out.append("\n", 1);
        m_pending = false;
    }

private:
    Output &m_out;
    bool m_pending = false;
};

} // namespace

LineList::LineList(QByteArray text)
    : m_text(std::move(text))
{
    m_marker = endsWithMarker(m_text);
    m_bodyEnd = m_marker ? m_text.size() - 2 : m_text.size();
}

bool LineList::render(const Replace &replace, const ChunkSink &sink) const
{
    Output out(sink);
    Collapser collapser(out);
    const char *data = m_text.constData();
    qsizetype copied = 0; // the text before this has gone out
    if (replace) {
        QByteArray content;
        forEachLine([&](const Line &line) {
            if (out.stopped())
                return false; // the sink has had enough: no need to look at the rest
            content.resize(0);
            if (!replace(line, content))
                return true;
            const qsizetype start = line.content.data() - data;
            collapser.add(QByteArrayView(data + copied, start - copied));
            collapser.add(content);
            copied = start + line.content.size();
            return true;
        });
    }
    collapser.add(QByteArrayView(data + copied, m_bodyEnd - copied));
    collapser.finish();
    if (out.endsWithBareLf() || (out.isEmpty() && m_marker))
        out.append("\r\n", 2);
    return out.flush();
}

} // namespace tarnwell
