// SPDX-License-Identifier: MIT
// What both start-up timings read: the wall clock against the start the script took, and the memory held.
#pragma once

#include <QFile>
#include <QtGlobal>

#include <chrono>
#include <ctime>

namespace startup {

inline qint64 nowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
}

// From the environment: the programs' own command lines take no such argument.
inline qint64 startNs()
{
    return qEnvironmentVariableIsSet("FIRSTPAINT_START_NS") ? qEnvironmentVariable("FIRSTPAINT_START_NS").toLongLong()
                                                            : nowNs();
}

// The processor time of all the process's threads so far, from its start: other work on the machine
// delays the first paint, but hardly changes this.
inline double cpuMs()
{
    return 1000.0 * double(std::clock()) / CLOCKS_PER_SEC;
}

inline long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

} // namespace startup
