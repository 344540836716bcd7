// SPDX-License-Identifier: MIT
// What the writers of both systems say about a write, in the same words.
#pragma once

#include "files/filecontent.h"

namespace tarnwell {

inline FileWrite notWritten(QString why)
{
    if (why.endsWith(u'.')) // a system's sentence goes inside this one
        why.chop(1);
    return {false, QStringLiteral("It was not written: %1. The file was left as it was.").arg(why), why};
}

// The file as read back after its replace: written, and with a problem when it was not as written.
inline FileWrite readBack(const Comparison &check)
{
    if (check.result == Comparison::Failed)
        return {true, QStringLiteral("It was written, but could not be read back to check it: %1.").arg(check.error)};
    if (check.result == Comparison::Different)
        return {true, QStringLiteral("It was written, but the file does not hold what was written (another program "
                                     "may have written it at the same moment). Check it and press Reload.")};
    return {true, {}};
}

} // namespace tarnwell
