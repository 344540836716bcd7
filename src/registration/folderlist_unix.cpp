// SPDX-License-Identifier: MIT
// Linux: the drives are the mount table's own lines, read as text from /proc; a mount is never
// asked anything, so a stalled network share holds nothing up.
#include "registration/folderlist.h"

#include <QFile>
#include <QSet>

#include <algorithm>

namespace tarnwell {

namespace {

// File systems of the kernel's own, which hold no files of a user's.
const char *const kPseudo[] = {"autofs", "binfmt_misc", "bpf", "cgroup", "cgroup2", "configfs", "debugfs",
                               "devpts", "devtmpfs", "efivarfs", "fusectl", "hugetlbfs", "mqueue", "nsfs",
                               "proc", "pstore", "rootfs", "rpc_pipefs", "securityfs", "selinuxfs", "sysfs",
                               "tracefs"};

// The kernel writes blanks and some other characters in a mount point as \ and three octal digits.
QByteArray unescaped(const QByteArray &field)
{
    QByteArray out;
    for (qsizetype at = 0; at < field.size(); ++at) {
        if (field[at] == '\\' && at + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(at + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += char(value);
                at += 3;
                continue;
            }
        }
        out += field[at];
    }
    return out;
}

bool underSystemFolder(const QString &mountPoint)
{
    for (const char *system : {"/dev", "/proc", "/sys", "/var/run", "/var/lock"}) {
        const QLatin1String folder(system);
        if (mountPoint == folder || mountPoint.startsWith(folder + u'/'))
            return true;
    }
    return false;
}

} // namespace

QList<Drive> drives()
{
    QList<Drive> result{{QStringLiteral("/"), QStringLiteral("/")}};
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return result;
    QSet<QString> seen{QStringLiteral("/")};
    // mount id, parent id, major:minor, root, mount point, options, optional fields, "-", type, source, ...
    for (const QByteArray &line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf("-");
        if (fields.size() < 5 || separator < 6 || separator + 1 >= fields.size())
            continue;
        const QByteArray type = fields.at(separator + 1);
        const QString mountPoint = QFile::decodeName(unescaped(fields.at(4)));
        if (std::any_of(std::begin(kPseudo), std::end(kPseudo), [&](const char *pseudo) { return type == pseudo; })
            || underSystemFolder(mountPoint) || seen.contains(mountPoint))
            continue;
        seen.insert(mountPoint);
        result.append({mountPoint + u'/', mountPoint + u'/'});
    }
    std::sort(result.begin() + 1, result.end(), [](const Drive &a, const Drive &b) { return a.root < b.root; });
    return result;
}

} // namespace tarnwell
