// SPDX-License-Identifier: MIT
// Reaching a file to write, replace or delete it so that nobody else can steer where that lands.
// Each folder on the way is opened from the one before it, without following a link, checked on
// what was opened, and used through that only: a folder checked is the folder used. When Tarnwell
// runs as the superuser, or another user owns what lies on the way, it writes nothing through a
// link nor in a folder that another user can change meanwhile; a device, a named pipe or a socket
// is never written over by anyone.
#pragma once

#include <QString>
#include <QStringList>

namespace tarnwell {

// A folder reached that way, open until this goes. Move-only.
class WalkedFolder
{
public:
    WalkedFolder() = default;
    WalkedFolder(int handle, QString path) : m_handle(handle), m_path(std::move(path)) {}
    ~WalkedFolder();
    WalkedFolder(WalkedFolder &&other) noexcept;
    WalkedFolder &operator=(WalkedFolder &&other) noexcept;
    WalkedFolder(const WalkedFolder &) = delete;
    WalkedFolder &operator=(const WalkedFolder &) = delete;

    bool isOpen() const { return m_handle >= 0 || (!m_path.isEmpty() && m_handle == kPathOnly); }
    int handle() const { return m_handle; } // the descriptor on Unix
    const QString &path() const { return m_path; } // native, as reached

    static constexpr int kPathOnly = -2; // where the system has no descriptors of folders to walk with

private:
    int m_handle = -1;
    QString m_path;
};

// A file as a write, a replace or a delete finds it.
struct FileTarget {
    WalkedFolder folder; // the folder that holds it
    QString name;        // its name there; for a write, a link the user may follow is followed
    QString path;        // native, for messages
    bool exists = false;
    QString problem;     // why it may not be changed: a sentence for the user; empty when it may
    bool ok() const { return problem.isEmpty(); }
};

enum class Reach {
    Write,     // the file is written or replaced: a link of the user's own to the user's own file is followed
    Remove,    // the name itself goes, a link as a link
    ToolWrite, // one of the tool's own files: missing folders are made, for the user alone
};

[[nodiscard]] FileTarget reachFile(const QString &path, Reach reach);

// A folder itself, to list, write and delete in, under the same rules; `problem` says why not. With
// `make`, missing folders are made on the way, for the user alone (never in another user's folder).
[[nodiscard]] WalkedFolder reachFolder(const QString &path, QString &problem, bool make = false);

// Why what `path` names cannot be trusted to say what to run: it, or a folder on its way, belongs to
// another user or can be written by one. Empty when it can, and when nothing is there.
[[nodiscard]] QString foreignReason(const QString &path);

// The prefix of every temporary file the tool makes before it gives one its name; such a file left
// behind by a write that was killed is removed by the next write in its folder, a minute later.
inline constexpr char kTemporaryPrefix[] = ".tarnwell-new-";

// The names of the regular files directly in `folder` (no links), listed through the folder as it
// was reached, whatever is put at its path meanwhile.
[[nodiscard]] QStringList filesIn(const WalkedFolder &folder);

// Removes the temporaries of the tool's own naming in `folder` that are older than a minute and the
// running user's own.
void removeStaleTemporaries(const WalkedFolder &folder);

} // namespace tarnwell
