// SPDX-License-Identifier: MIT
// The check of a chosen executable beside the window: whether it is there, and its digest; what the
// window showed before it (so that a choice given up leaves everything as it was), and a check
// superseded by a newer choice.
#pragma once

#include "files/background.h"
#include "registration/digest.h"

#include <QObject>

#include <functional>

class QTimer;

namespace tarnwell {

class ExecutableCheck : public QObject
{
    Q_OBJECT

public:
    // The executable registered and the status shown when a check began, to put back after it.
    struct Snapshot {
        QString exePath;
        QString status;
        int widthTwips = 0;
    };
    enum class Origin {
        Registered, // the executable registered already (start-up, reload): nothing to give up
        Picker,     // a choice in the picker, which may be given up and is saved once checked
        Recent,     // a remembered installation: one that is gone is not taken at all
    };
    struct Result {
        FileDigest digest; // its error also says why a file could not be found through its short name
        bool missing = false; // nothing at the path: nothing was read
        QString notRegular;   // what stands there instead of a file ("it is a folder, not a file")
        Origin origin = Origin::Registered;
        Snapshot before;
        // A check of the registered executable was interrupted by this choice, which was given up:
        // the interrupted one is to be taken up again.
        bool recheck = false;
    };

    // `now` tells what the window shows at the moment a check begins.
    explicit ExecutableCheck(std::function<Snapshot()> now, QObject *parent = nullptr);
    ~ExecutableCheck() override; // a check still running is given up, never waited for

    // Checks `path`. A check still running is superseded: its result no longer matters, and the
    // snapshot taken before it stays, as the state the newer choice would go back to.
    void begin(const QString &path, Origin origin);
    // Gives the running check up; finished() follows with a cancelled digest.
    void cancel();
    // Drops the running check without a finished(): the program is ending. Returns what stood before it.
    Snapshot abandon();
    bool isRunning() const { return m_job != nullptr; }
    Origin origin() const { return m_origin; }
    int percent() const { return m_job ? m_job->percent() : 0; }

signals:
    void progressed(int percent); // a few times a second while a check runs
    void finished(const tarnwell::ExecutableCheck::Result &result);

private:
    void taskFinished(Result result);
    void endJob(); // no check runs any more

    std::function<Snapshot()> m_now;
    JobHandle m_job;
    QTimer *m_progress = nullptr;
    Origin m_origin = Origin::Registered;
    Snapshot m_before;
    bool m_recheck = false;
};

} // namespace tarnwell
