// SPDX-License-Identifier: MIT
#include "registration/digest.h"

#include "files/openfile.h"
#include "files/pathcase.h"
#include "registration/md5stream.h"

#include <QFile>

namespace tarnwell {

FileDigest md5OfFile(const QString &path, const DigestProgress &progress)
{
    QFile file;
    if (const QString problem = openForReading(file, resolveCase(path)); !problem.isEmpty())
        return {QString(), problem};
    const Md5Stream::Outcome outcome = Md5Stream::ofFile(file, progress);
    if (outcome.cancelled)
        return {QString(), QString(), true};
    if (!outcome.error.isEmpty())
        return {QString(), outcome.error};
    return {QString::fromLatin1(outcome.digest.toHex().toUpper()), QString()};
}

} // namespace tarnwell
