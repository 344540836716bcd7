// SPDX-License-Identifier: MIT
// The one way to run work beside the window: a task on a thread of the tool's own pool, its result
// handed back on the thread of an owner object, only while that owner lives and still wants it.
// Nothing ever waits for a task without a bound: a task blocked on a disk that does not answer is
// given up, and the process ends all the same.
#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

namespace tarnwell {

// What a task and its owner share: whether the owner still wants the result, and how far it came.
class Job
{
public:
    // The owner gave the job up: its result is dropped. A task looks at this between its steps.
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    void cancel() { m_cancelled = true; }
    // True until the task has returned (whether or not its result was wanted).
    bool running() const { return m_running.load(); }
    // How far the task came, as it last said: done of total (total 0 while unknown).
    void setProgress(qint64 done, qint64 total)
    {
        m_total = total;
        m_done = done;
    }
    int percent() const;

private:
    friend class JobRunner;
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_running{true};
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
};
using JobHandle = std::shared_ptr<Job>;

// Runs `task` on a worker thread; `done` is then called once on `owner`'s thread, unless `owner` has
// been destroyed or the job cancelled meanwhile. The task must not touch `owner`.
JobHandle runBeside(QObject *owner, std::function<void(Job &job)> task, std::function<void()> done);

// The same with a value: `done` receives what `task` returned.
template <typename Result>
JobHandle runBeside(QObject *owner, std::function<Result(Job &job)> task, std::function<void(Result result)> done)
{
    auto result = std::make_shared<Result>();
    return runBeside(
        owner, [task = std::move(task), result](Job &job) { *result = task(job); },
        [done = std::move(done), result] { done(std::move(*result)); });
}

// As the program ends: every job is cancelled, and those still running are waited for at most
// `msecs`. True when none runs any more; the others are abandoned where they are blocked.
bool endBackgroundWork(int msecs);

// How many tasks are running or queued now.
int backgroundTasks();

} // namespace tarnwell
