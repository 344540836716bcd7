// SPDX-License-Identifier: MIT
#include "files/background.h"

#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <mutex>
#include <vector>

namespace tarnwell {

int Job::percent() const
{
    const qint64 total = m_total.load();
    return total > 0 ? int(std::min<qint64>(100, m_done.load() * 100 / total)) : 0;
}

namespace {

constexpr int kMostThreads = 1024;

// Never deleted: deleting a pool waits for every one of its threads, one blocked on a stalled
// network share included. Its threads end with the process.
QThreadPool *pool()
{
    static QThreadPool *const threads = [] {
        auto *created = new QThreadPool;
        // Threads blocked on a disk that does not answer keep their places; the others need room.
        created->setMaxThreadCount(std::max(32, QThread::idealThreadCount()));
        return created;
    }();
    return threads;
}

// The jobs not yet ended, so that they can all be given up at exit.
struct Registry {
    std::mutex mutex;
    std::vector<std::weak_ptr<Job>> jobs;
    std::atomic<int> tasks{0};
};
Registry &registry()
{
    static Registry *const jobs = new Registry; // used by threads that may outlive static destruction
    return *jobs;
}

// Hands a result over on the owner's thread. A child of the owner, it is gone with it; the worker
// posts to it only under the lock, so never to an object being destroyed.
class Delivery : public QObject
{
public:
    struct Link {
        std::mutex mutex;
        Delivery *delivery = nullptr;
    };

    Delivery(QObject *owner, std::shared_ptr<Link> link) : QObject(owner), m_link(std::move(link))
    {
        m_link->delivery = this;
    }
    ~Delivery() override
    {
        const std::lock_guard lock(m_link->mutex);
        m_link->delivery = nullptr;
    }

private:
    std::shared_ptr<Link> m_link;
};

} // namespace

class JobRunner
{
public:
    static void ended(Job &job) { job.m_running = false; }
};

JobHandle runBeside(QObject *owner, std::function<void(Job &job)> task, std::function<void()> done)
{
    auto job = std::make_shared<Job>();
    auto link = std::make_shared<Delivery::Link>();
    new Delivery(owner, link);
    Registry &jobs = registry();
    {
        const std::lock_guard lock(jobs.mutex);
        std::erase_if(jobs.jobs, [](const std::weak_ptr<Job> &old) { return old.expired(); });
        jobs.jobs.push_back(job);
    }
    // Counted from here until the task is gone, whether it ran or was dropped unstarted at exit.
    ++jobs.tasks;
    const std::shared_ptr<Job> counted(job.get(), [job](Job *) {
        JobRunner::ended(*job);
        --registry().tasks;
    });
    // Work given up while blocked on a disk that does not answer keeps its thread: while every thread
    // is taken, the pool grows, so that new work never queues behind it. A blocked thread costs
    // little; the bound only keeps a runaway loop from exhausting the system.
    QThreadPool *const threads = pool();
    if (threads->activeThreadCount() >= threads->maxThreadCount() && threads->maxThreadCount() < kMostThreads)
        threads->setMaxThreadCount(threads->maxThreadCount() + 8);
    threads->start([job, link, counted, task = std::move(task), done = std::move(done)]() mutable {
        if (!job->cancelled())
            task(*job);
        JobRunner::ended(*job);
        {
            const std::lock_guard lock(link->mutex);
            if (Delivery *delivery = link->delivery) {
                QMetaObject::invokeMethod(
                    delivery,
                    [job, delivery, done = std::move(done)] {
                        // Given up after the task ended: still nothing is handed over.
                        if (!job->cancelled() && done)
                            done();
                        delivery->deleteLater();
                    },
                    Qt::QueuedConnection);
            }
        }
    });
    return job;
}

bool endBackgroundWork(int msecs)
{
    Registry &jobs = registry();
    {
        const std::lock_guard lock(jobs.mutex);
        for (const std::weak_ptr<Job> &entry : jobs.jobs) {
            if (const JobHandle job = entry.lock())
                job->cancel();
        }
    }
    pool()->clear(); // what has not started yet never will
    return pool()->waitForDone(msecs);
}

int backgroundTasks()
{
    return registry().tasks.load();
}

} // namespace tarnwell
