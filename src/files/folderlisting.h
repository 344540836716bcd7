// SPDX-License-Identifier: MIT
// What a folder holds, read once: its entries' names and kinds, as cheaply as the system tells them.
#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <functional>

namespace tarnwell {

struct FolderEntry {
    enum Kind { File, Folder, Other }; // Other: a pipe, a socket, a device, or a link to nothing
    QString name;
    Kind kind = Other; // of what a link leads to
    bool link = false;
    bool hidden = false; // a leading dot on Unix; the hidden or system attribute on Windows
};

struct FolderListing {
    QList<FolderEntry> entries; // in the order the system gives them
    QString error;              // why the folder could not be read
    bool cut = false;           // `limit` entries were read, and there were more
    bool ok() const { return error.isEmpty(); }
};

// The entries of `folder` but "." and "..", at most `limit` (-1: all). Links are followed to tell
// their kind, nothing else is. `stop`, asked between entries, ends the listing early.
[[nodiscard]] FolderListing listFolder(const QString &folder, qsizetype limit = -1,
                                       const std::function<bool()> &stop = {});

// A listing looked up by name, as Windows would find a name: the entry whose name is exactly it, else
// one that differs only in letter case. Each look-up costs the same however large the folder.
class FolderIndex
{
public:
    FolderIndex() = default;
    explicit FolderIndex(FolderListing listing);

    const FolderListing &listing() const { return m_listing; }
    // nullptr when no entry has the name.
    [[nodiscard]] const FolderEntry *find(const QString &name) const;

private:
    FolderListing m_listing;
    QHash<QString, qsizetype> m_exact;
    QHash<QString, qsizetype> m_folded; // the first of each letter-case-free name
};

} // namespace tarnwell
