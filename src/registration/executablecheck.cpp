// SPDX-License-Identifier: MIT
#include "registration/executablecheck.h"

#include "files/openfile.h"
#include "files/pathcase.h"
#include "registration/shortpath.h"

#include <QTimer>

namespace tarnwell {

namespace {

// On a worker: a disk that is slow or does not answer holds up nothing but the check.
ExecutableCheck::Result inspect(const QString &path, Job &job)
{
    ExecutableCheck::Result result;
    // Something that is no file stands there (a folder, a pipe): said rather than passed over, and
    // never opened, which a pipe would never answer.
    result.notRegular = notRegularReason(resolveCase(path));
    if (!fileExists(path) || !result.notRegular.isEmpty()) {
        result.missing = true;
        return result;
    }
    const QString shortExe = shortPath(path);
    if (shortExe.isEmpty()) {
        result.digest.error = QStringLiteral("the file is no longer there");
        return result;
    }
    result.digest = md5OfFile(shortExe, [&job](qint64 done, qint64 total) {
        job.setProgress(done, total);
        return !job.cancelled();
    });
    return result;
}

} // namespace

ExecutableCheck::ExecutableCheck(std::function<Snapshot()> now, QObject *parent)
    : QObject(parent)
    , m_now(std::move(now))
    , m_progress(new QTimer(this))
{
    m_progress->setInterval(100);
    connect(m_progress, &QTimer::timeout, this, [this] { emit progressed(percent()); });
}

ExecutableCheck::~ExecutableCheck()
{
    if (m_job)
        m_job->cancel();
}

void ExecutableCheck::begin(const QString &path, Origin origin)
{
    const Snapshot now = m_now();
    if (m_job) {
        m_job->cancel(); // it stops on its own time and reports nothing
        // A choice given up goes back to the executable it interrupted, checked again.
        if (origin != Origin::Registered) {
            m_before.exePath = now.exePath;
            m_recheck = true;
        }
    } else {
        m_before = now;
        m_recheck = false;
    }
    m_origin = origin;
    m_job = runBeside<Result>(
        this, [path](Job &job) { return inspect(path, job); },
        [this](Result result) { taskFinished(std::move(result)); });
    m_progress->start();
}

void ExecutableCheck::cancel()
{
    if (!m_job)
        return;
    // The result of a check given up is known without waiting for the disk.
    m_job->cancel();
    Result result;
    result.digest.cancelled = true;
    taskFinished(std::move(result));
}

ExecutableCheck::Snapshot ExecutableCheck::abandon()
{
    if (!m_job)
        return m_now();
    m_job->cancel();
    endJob();
    return m_before;
}

void ExecutableCheck::taskFinished(Result result)
{
    result.origin = m_origin;
    result.before = m_before;
    result.recheck = m_recheck;
    endJob();
    emit finished(result);
}

void ExecutableCheck::endJob()
{
    m_job.reset();
    m_progress->stop();
    m_origin = Origin::Registered;
    m_recheck = false;
}

} // namespace tarnwell
