// SPDX-License-Identifier: MIT
// The executable's digest on a thread of its own, so that the window keeps answering while a large
// file is read; it tells how far it has come and can be stopped.
#pragma once

#include "registration/digest.h"

#include <QObject>

#include <atomic>

class QThread;

namespace tarnwell {

class DigestTask : public QObject
{
    Q_OBJECT

public:
    explicit DigestTask(const QString &path, QObject *parent = nullptr);
    // Stops the digest and waits for its thread.
    ~DigestTask() override;

    void start();
    // Asks the digest to stop; finished() follows with a cancelled result.
    void cancel();
    // Bytes digested so far, and the file's size, as the digest last told them.
    qint64 done() const { return m_done.load(); }
    qint64 total() const { return m_total.load(); }
    // Valid once finished() has been emitted.
    const FileDigest &result() const { return m_result; }

signals:
    void finished();

private:
    QString m_path;
    std::atomic<qint64> m_total{0};
    std::atomic<qint64> m_done{0};
    std::atomic<bool> m_cancel{false};
    QThread *m_thread = nullptr;
    FileDigest m_result;
};

} // namespace tarnwell
