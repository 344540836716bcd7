// SPDX-License-Identifier: MIT
#include "registration/digesttask.h"

#include <QFileInfo>
#include <QThread>

namespace tarnwell {

DigestTask::DigestTask(const QString &path, QObject *parent)
    : QObject(parent)
    , m_path(path)
    , m_total(QFileInfo(path).size())
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
        m_result = md5OfFile(m_path, [this](qint64 done, qint64) {
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

bool DigestTask::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

} // namespace tarnwell
