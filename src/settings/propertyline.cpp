// SPDX-License-Identifier: MIT
#include "settings/propertyline.h"

#include <algorithm>
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

// Longest catalogue name plus its closing quote: how far a name can reach.
qsizetype longestName()
{
    static const qsizetype longest = [] {
        qsizetype n = 0;
        for (const CatalogueRow &row : catalogue())
            n = std::max(n, row.property.size());
        return n;
    }();
    return longest;
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

bool carriesProperty(QByteArrayView line, QByteArrayView name)
{
    return line.size() > kNameIndex + name.size() && line.sliced(kNameIndex, name.size()) == name
        && line.at(kNameIndex + name.size()) == '"';
}

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
    line.reserve(line.size() + kLineHead.size() + name.size() + kBetween.size() + value.size() + kLineTail.size());
    line.append(kLineHead).append(name).append(kBetween).append(value).append(kLineTail);
}

RowIndex rowReadFrom(QByteArrayView line, SettingsFile file)
{
    const QByteArrayView name = lineName(line);
    if (name.isEmpty())
        return -1;
    const auto rows = catalogue();
    for (RowIndex i = 0; i < RowIndex(rows.size()); ++i) {
        const CatalogueRow &row = rows[i];
        if (row.file != file || row.property != name)
            continue;
        if (row.kind != ControlKind::Check || flagPasses(line, row.property, row.flag))
            return i;
    }
    return -1;
}

RowIndex rowWrittenTo(QByteArrayView line, SettingsFile file)
{
    const QByteArrayView name = lineName(line);
    if (name.isEmpty())
        return -1;
    const auto rows = catalogue();
    for (RowIndex i = 0; i < RowIndex(rows.size()); ++i) {
        if (rows[i].file == file && rows[i].property == name)
            return i;
    }
    return -1;
}

} // namespace tarnwell
