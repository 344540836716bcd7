// SPDX-License-Identifier: MIT
#include "files/folderlisting.h"

namespace tarnwell {

FolderIndex::FolderIndex(FolderListing listing)
    : m_listing(std::move(listing))
{
    m_exact.reserve(m_listing.entries.size());
    for (qsizetype i = 0; i < m_listing.entries.size(); ++i) {
        const QString &name = m_listing.entries.at(i).name;
        m_exact.insert(name, i);
        const QString folded = name.toCaseFolded();
        if (!m_folded.contains(folded))
            m_folded.insert(folded, i);
    }
}

const FolderEntry *FolderIndex::find(const QString &name) const
{
    if (const auto exact = m_exact.constFind(name); exact != m_exact.cend())
        return &m_listing.entries.at(*exact);
    if (const auto folded = m_folded.constFind(name.toCaseFolded()); folded != m_folded.cend())
        return &m_listing.entries.at(*folded);
    return nullptr;
}

} // namespace tarnwell
