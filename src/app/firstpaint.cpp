// SPDX-License-Identifier: MIT
#include "firstpaint.h"

#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaintWatcher : public QObject
{
public:
    FirstPaintWatcher(QWidget *widget, QObject *context, std::function<void()> work)
        : QObject(widget)
        , m_context(context)
        , m_work(std::move(work))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == parent() && event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                if (m_context)
                    m_work();
                deleteLater();
            });
        }
        return false;
    }

private:
    QPointer<QObject> m_context;
    std::function<void()> m_work;
};

} // namespace

void afterFirstPaint(QWidget *widget, QObject *context, std::function<void()> work)
{
    if (widget)
        new FirstPaintWatcher(widget, context, std::move(work));
}
