// SPDX-License-Identifier: MIT
// Starts the window as the program does and observes it from outside: when it is first painted,
// how much memory the process holds then, and whether the banner came in afterwards.
// Usage: tarnwell_firstpaint START_NS, where START_NS is the wall clock (ns) just before the start.
#include "form1.h"
#include "platform/desktopplatform.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
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
    int question(const QString &, const QStringList &buttons, const QString &) override
    {
        return int(buttons.size()) - 1;
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
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || m_seen)
            return false;
        m_seen = true;
        // Queued now, this runs after the painted frame is out and before the banner's own load.
        QTimer::singleShot(0, this, [this] {
            const double ms = (nowNs() - m_startNs) / 1e6;
            const long rss = residentKb();
            QTimer::singleShot(1500, this, [this, ms, rss] {
                const bool banner = m_form->WebBrowser1->findChild<QWidget *>(QStringLiteral("BannerView"));
                std::printf("first_paint_ms=%.1f rss_kb=%ld banner=%d rss_after_kb=%ld\n", ms, rss, banner ? 1 : 0,
                            residentKb());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        });
        return false;
    }

private:
    Form1 *m_form;
    qint64 m_startNs;
    bool m_seen = false;
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
