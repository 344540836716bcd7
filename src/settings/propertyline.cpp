// SPDX-License-Identifier: MIT
#include "settings/propertyline.h"

#include <QList>

#include <algorithm>
#include <array>
#include <cstring>

namespace tarnwell {

namespace {

constexpr QByteArrayView kLineHead = " <Property name=\"";
constexpr QByteArrayView kBetween = "\" value=\"";
constexpr QByteArrayView kLineTail = "\" />";

// Positions after the name: `" value="` (9 characters) lies between name and value, `" />` (4)
// closes the line.
constexpr qsizetype kValueOffset = kNameIndex + 9;
constexpr qsizetype kTailLength = 4;

// The rows whose names have a given length, in catalogue order: a line's name is looked up among
// these only.
struct RowsByLength {
    qsizetype longest = 0;
    std::array<QList<RowIndex>, 32> rows;
};

const RowsByLength &rowsByLength()
{
    static const RowsByLength table = [] {
        RowsByLength t;
        const auto rows = catalogue();
        for (RowIndex i = 0; i < RowIndex(rows.size()); ++i) {
            t.longest = std::max(t.longest, rows[i].property.size());
            t.rows[std::size_t(rows[i].property.size())].append(i);
        }
        return t;
    }();
    return table;
}

qsizetype longestName()
{
    return rowsByLength().longest;
}

// The name a line carries: the characters from the name's place up to the next quote.
QByteArrayView lineName(QByteArrayView line)
{
    if (line.size() <= kNameIndex)
        return {};
    const qsizetype reach = std::min(line.size() - kNameIndex, longestName() + 1);
    const void *quote = std::memchr(line.data() + kNameIndex, '"', size_t(reach));
    if (!quote)
        return {};
    return line.sliced(kNameIndex, static_cast<const char *>(quote) - (line.data() + kNameIndex));
}

} // namespace

bool flagPasses(QByteArrayView line, QByteArrayView name, QByteArrayView flag)
{
    const qsizetype at = kValueOffset + name.size();
    return line.size() >= at + flag.size() && line.sliced(at, flag.size()) == flag;
}

QByteArrayView propertyValue(QByteArrayView line, QByteArrayView name)
{
    const qsizetype at = kValueOffset + name.size();
    const qsizetype length = line.size() - at - kTailLength;
    return length > 0 ? line.sliced(at, length) : QByteArrayView();
}

QByteArray propertyLine(QByteArrayView name, QByteArrayView value)
{
    QByteArray line;
    appendPropertyLine(line, name, value);
    return line;
}

void appendPropertyLine(QByteArray &line, QByteArrayView name, QByteArrayView value)
{
    // One resize and plain copies: the writer builds a line for every catalogue line of a file.
    qsizetype at = line.size();
    line.resize(at + kLineHead.size() + name.size() + kBetween.size() + value.size() + kLineTail.size());
    char *out = line.data();
    for (const QByteArrayView part : {kLineHead, name, kBetween, value, kLineTail}) {
        if (part.isEmpty())
            continue; // an empty value may have no data at all, and memcpy wants a real pointer
        std::memcpy(out + at, part.data(), size_t(part.size()));
        at += part.size();
    }
}

namespace {

// The first of the file's rows that carries the line's name and, when reading, whose flag passes.
RowIndex findRow(QByteArrayView line, SettingsFile file, bool reading)
{
    const QByteArrayView name = lineName(line);
    if (name.isEmpty())
        return -1;
    const auto rows = catalogue();
    for (const RowIndex i : rowsByLength().rows[std::size_t(name.size())]) {
        const CatalogueRow &row = rows[i];
        if (row.file != file || row.property != name)
            continue;
        if (!reading || row.kind != ControlKind::Check || flagPasses(line, row.property, row.flag))
            return i;
    }
    return -1;
}

} // namespace

RowIndex rowReadFrom(QByteArrayView line, SettingsFile file)
{
    return findRow(line, file, true);
}

RowIndex rowWrittenTo(QByteArrayView line, SettingsFile file)
{
    return findRow(line, file, false);
}

} // namespace tarnwell
