// SPDX-License-Identifier: MIT
#include "registration/digesttask.h"

#include <QThread>

namespace tarnwell {

DigestTask::DigestTask(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
{
}

DigestTask::~DigestTask()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

void DigestTask::start()
{
    if (m_thread)
        return;
    // The result is written by the thread and read only after it has finished.
    m_thread = QThread::create([this] {
        m_result = md5OfFile(m_path, [this](qint64 done, qint64 total) {
            m_total = total;
            m_done = done;
            return !m_cancel.load();
        });
    });
    connect(m_thread, &QThread::finished, this, &DigestTask::finished, Qt::QueuedConnection);
    m_thread->start();
}

void DigestTask::cancel()
{
    m_cancel = true;
}

} // namespace tarnwell
