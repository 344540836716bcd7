// SPDX-License-Identifier: MIT
#include "registration/executablecheck.h"

#include "registration/digesttask.h"

#include <QTimer>

namespace tarnwell {

ExecutableCheck::ExecutableCheck(std::function<Snapshot()> now, QObject *parent)
    : QObject(parent)
    , m_now(std::move(now))
    , m_progress(new QTimer(this))
{
    m_progress->setInterval(100);
    connect(m_progress, &QTimer::timeout, this, [this] { emit progressed(percent()); });
}

ExecutableCheck::~ExecutableCheck() = default;

void ExecutableCheck::begin(const QString &path, Origin origin)
{
    const Snapshot now = m_now();
    if (m_task) {
        m_task->disconnect(this);
        m_task.release()->deleteLater(); // its thread stops on its own time
        // A choice in the picker given up goes back to the executable it interrupted, checked again.
        if (origin == Origin::Picker) {
            m_before.exePath = now.exePath;
            m_recheck = true;
        }
    } else {
        m_before = now;
        m_recheck = false;
    }
    m_origin = origin;
    m_task = std::make_unique<DigestTask>(path);
    connect(m_task.get(), &DigestTask::finished, this, &ExecutableCheck::taskFinished);
    m_task->start();
    m_progress->start();
}

void ExecutableCheck::cancel()
{
    if (m_task)
        m_task->cancel();
}

ExecutableCheck::Snapshot ExecutableCheck::abandon()
{
    if (!m_task)
        return m_now();
    m_task->disconnect(this);
    endTask();
    return m_before;
}

int ExecutableCheck::percent() const
{
    if (!m_task)
        return 0;
    const qint64 total = m_task->total();
    return total > 0 ? int(m_task->done() * 100 / total) : 0;
}

void ExecutableCheck::taskFinished()
{
    const Result result{m_task->result(), m_origin, m_before, m_recheck};
    endTask();
    emit finished(result);
}

void ExecutableCheck::endTask()
{
    m_task.release()->deleteLater(); // its thread stops on its own time; it may be the sender of this call
    m_progress->stop();
    m_origin = Origin::Registered;
    m_recheck = false;
}

} // namespace tarnwell
