// SPDX-License-Identifier: MIT
// Start-up benchmark harness: the window started as the program starts it, observed from outside.
//
// Prints when the window is first painted, how much memory the process holds then, whether the banner
// came in afterwards, and when the status caption first names the registered executable's release
// (its digest is known then).
// Usage: tarnwell_firstpaint START_NS, where START_NS is the wall clock (ns) just before the start.
#include "form1.h"
#include "platform/desktopplatform.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {

qint64 nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// The real platform, but message boxes are answered at once: nobody is there to click them.
class UnattendedPlatform : public DesktopPlatform
{
public:
    int messageBox(const QString &, int buttons, const QString &) override
    {
        return (buttons & 0x7) == YesNo ? No : Ok;
    }
};

class FirstPaint : public QObject
{
public:
    FirstPaint(Form1 *form, qint64 startNs)
        : m_form(form)
        , m_startNs(startNs)
    {
        form->installEventFilter(this);
        // Polled rather than hooked, so that whatever sets the caption, and on whichever thread the
        // digest runs, the time is when the window's own thread could show it.
        m_poll.callOnTimeout(this, [this] {
            if (m_knownMs < 0 && statusKnown())
                m_knownMs = msSinceStart();
            finishWhenDone();
        });
        m_poll.start(10);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || m_painted)
            return false;
        m_painted = true;
        // Queued now, this runs after the painted frame is out and before the banner's own load.
        QTimer::singleShot(0, this, [this] {
            m_paintMs = msSinceStart();
            m_paintRss = residentKb();
            if (statusKnown()) // seen first in this frame, whenever it was set
                m_knownMs = m_paintMs;
            QTimer::singleShot(1500, this, [this] {
                m_banner = m_form->WebBrowser1->findChild<QWidget *>(QStringLiteral("BannerView")) != nullptr;
                m_afterRss = residentKb();
                finishWhenDone();
            });
        });
        return false;
    }

private:
    double msSinceStart() const { return (nowNs() - m_startNs) / 1e6; }
    bool statusKnown() const { return m_form->label(22)->text() != QLatin1String("Not Set"); }

    // Done 1.5 s after the first paint once the release is known (when an executable is registered),
    // or after two minutes without it.
    void finishWhenDone()
    {
        const bool waiting = m_knownMs < 0 && !m_form->GameExePath.isEmpty() && msSinceStart() < 120000;
        if (m_afterRss < 0 || waiting || m_finished)
            return;
        m_finished = true;
        std::printf("first_paint_ms=%.1f rss_kb=%ld banner=%d rss_after_kb=%ld known_ms=%.1f\n", m_paintMs, m_paintRss,
                    m_banner ? 1 : 0, m_afterRss, m_knownMs);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    Form1 *m_form;
    qint64 m_startNs;
    QTimer m_poll;
    double m_paintMs = -1;
    double m_knownMs = -1;
    long m_paintRss = -1;
    long m_afterRss = -1;
    bool m_painted = false;
    bool m_banner = false;
    bool m_finished = false;
};

} // namespace

int main(int argc, char *argv[])
{
    const qint64 startNs = argc > 1 ? QByteArray(argv[1]).toLongLong() : nowNs();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarnwell"));
    UnattendedPlatform platform;
    Form1 form(platform);
    FirstPaint observer(&form, startNs);
    form.Form_Load();
    if (form.isClosed())
        return 1;
    form.show();
    return app.exec();
}
