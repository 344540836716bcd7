// SPDX-License-Identifier: MIT
// Start-up benchmark harness: the program's own main(), observed from inside its application object.
//
// Built from src/app/main.cpp and this file, which hooks in when the application object is made: so
// the window starts exactly as the program starts it, whatever order main() does things in. Prints
// when the window is first painted, how much memory and processor time the process has taken then,
// whether the banner came in afterwards, when the status caption first names the registered
// executable's release (its digest is known then), and how many message boxes were answered (each at
// once, with No where there is a No).
// Usage: FIRSTPAINT_START_NS=<wall clock in ns just before the start> tarnwell_firstpaint
#include "clock.h"
#include "form1.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

class Observer : public QObject
{
public:
    explicit Observer(qint64 startNs)
        : QObject(QCoreApplication::instance())
        , m_startNs(startNs)
    {
        // Polled rather than hooked, so that whatever sets the caption, and on whichever thread the
        // digest runs, the time is when the window's own thread could show it.
        m_poll.callOnTimeout(this, [this] {
            if (m_knownMs < 0 && statusKnown())
                m_knownMs = msSinceStart();
            finishWhenDone();
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!m_poll.isActive()) // the first event: the event loop runs
            m_poll.start(10);
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) { // nobody is there to click it
                ++m_boxes;
                QTimer::singleShot(0, box, &QMessageBox::reject);
            }
        }
        if (event->type() == QEvent::Paint && !m_painted) {
            if (auto *form = qobject_cast<Form1 *>(watched))
                firstPaint(form);
        }
        return false;
    }

private:
    double msSinceStart() const { return (startup::nowNs() - m_startNs) / 1e6; }
    // The caption names the release, or says it is unknown: the digest is done (not its progress).
    bool statusKnown() const
    {
        const QString status = m_form ? m_form->label(22)->text() : QString();
        return status.endsWith(QLatin1String(" Detected!")) || status.startsWith(QLatin1String("Unknown Quillvane"));
    }

    void firstPaint(Form1 *form)
    {
        m_form = form;
        m_painted = true;
        // Queued now, this runs after the painted frame is out and before the banner's own load.
        QTimer::singleShot(0, this, [this] {
            m_paintMs = msSinceStart();
            m_paintRss = startup::residentKb();
            m_paintCpuMs = startup::cpuMs();
            if (statusKnown()) // seen first in this frame, whenever it was set
                m_knownMs = m_paintMs;
            QTimer::singleShot(1500, this, [this] {
                m_banner = m_form->WebBrowser1->findChild<QWidget *>(QStringLiteral("BannerView")) != nullptr;
                m_afterRss = startup::residentKb();
                finishWhenDone();
            });
        });
    }

    // Done 1.5 s after the first paint once the release is known (when an executable is registered),
    // or after two minutes without it.
    void finishWhenDone()
    {
        if (m_finished || m_afterRss < 0)
            return;
        if (m_knownMs < 0 && !m_form->GameExePath.isEmpty() && msSinceStart() < 120000)
            return;
        m_finished = true;
        std::printf("first_paint_ms=%.1f rss_kb=%ld banner=%d rss_after_kb=%ld known_ms=%.1f boxes=%d cpu_ms=%.1f\n",
                    m_paintMs, m_paintRss, m_banner ? 1 : 0, m_afterRss, m_knownMs, m_boxes, m_paintCpuMs);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    qint64 m_startNs;
    QTimer m_poll;
    Form1 *m_form = nullptr;
    double m_paintMs = -1;
    double m_knownMs = -1;
    double m_paintCpuMs = -1;
    long m_paintRss = -1;
    long m_afterRss = -1;
    int m_boxes = 0;
    bool m_painted = false;
    bool m_banner = false;
    bool m_finished = false;
};

void observeStart()
{
    QCoreApplication::instance()->installEventFilter(new Observer(startup::startNs()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(observeStart)
