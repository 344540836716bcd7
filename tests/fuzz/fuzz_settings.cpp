// SPDX-License-Identifier: MIT
// Fuzz target: settings files of arbitrary bytes, written with arbitrary values and read back.
#include "fuzzcheck.h"

#include "settings/catalogue.h"
#include "settings/linelist.h"
#include "settings/propertyline.h"
#include "settings/settingswriter.h"
#include "settings/valuetext.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace tarnwell;

namespace {

struct Line {
    QByteArray content;
    LineEnd end;
};

// Writing makes runs of line feeds shorter, so empty lines may go; no other line may.
QList<Line> nonEmptyLines(const LineList &lines)
{
    QList<Line> found;
    lines.forEachLine([&](const LineList::Line &line) {
        if (!line.content.isEmpty())
            found.append({line.content.toByteArray(), line.end});
    });
    return found;
}

QByteArray builtLine(QByteArrayView name, const QByteArray &value)
{
    return " <Property name=\"" + name.toByteArray() + "\" value=\"" + value + "\" />";
}

// What the writer's output must be, made the plain way: catalogue lines replaced, then every two line
// feeds in a row made one, then CR LF after a final bare line feed (or for a text of just that marker).
QByteArray plainRender(const LineList &read, SettingsFile file, const CatalogueValues &values)
{
    QByteArray text;
    read.forEachLine([&](const LineList::Line &line) {
        const RowIndex row = rowWrittenTo(line.content, file);
        text += row < 0 ? line.content.toByteArray() : builtLine(catalogue()[row].property, values[row]);
        text += line.end == LineEnd::CrLf ? "\r\n" : line.end == LineEnd::Lf ? "\n" : "";
    });
    QByteArray plain;
    for (qsizetype i = 0; i < text.size(); ++i) {
        plain += text[i];
        if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    if ((plain.endsWith('\n') && !plain.endsWith("\r\n")) || (plain.isEmpty() && read.text() == "\r\n"))
        plain += "\r\n";
    return plain;
}

void checkWrite(const LineList &read, SettingsFile file, const CatalogueValues &values)
{
    QByteArray output;
    const bool whole = renderWithValues(read, file, values, [&](QByteArrayView chunk) {
        output += chunk;
        return true;
    });
    require(whole, "the writer stopped although its sink took every chunk");
    require(output == plainRender(read, file, values), "the text written is not the text described");
    const QList<Line> before = nonEmptyLines(read);
    const QList<Line> after = nonEmptyLines(LineList(output));
    require(before.size() == after.size(), "a line was lost or made up");
    const auto rows = catalogue();
    for (qsizetype i = 0; i < before.size(); ++i) {
        require(after[i].end == before[i].end, "a line end changed");
        const RowIndex row = rowWrittenTo(before[i].content, file);
        if (row < 0) {
            require(after[i].content == before[i].content, "a line outside the catalogue changed");
            continue;
        }
        const QByteArrayView name = rows[row].property;
        require(after[i].content == builtLine(name, values[row]), "a catalogue line is not the line built for its value");
        require(rowWrittenTo(after[i].content, file) == row, "a written line is not found again");
        require(propertyValue(after[i].content, name) == values[row], "a written value reads back otherwise");
    }
}

// A value left alone goes back byte for byte; a text the window accepts survives its encoding.
void checkValueText(QByteArrayView property, const QByteArray &bytes)
{
    ReadValues read;
    const QString text = read.remember(property, bytes);
    const EncodedValue same = read.encode(property, text);
    require(same.problem.isEmpty() && same.bytes == bytes, "an unchanged value does not go back as read");
    if (!valueProblem(text).isEmpty())
        return;
    const EncodedValue fresh = ReadValues().encode(property, text);
    require(fresh.problem.isEmpty() && decodeValue(fresh.bytes) == text, "an accepted text does not survive");
    for (const char c : {'\n', '\r', '"', '<'})
        require(!fresh.bytes.contains(c), "an accepted text encodes to a byte that breaks the line");
}

} // namespace

// Every line outside the catalogue must come back byte for byte, every value written must read back.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // The file first, so that a settings file as it is makes a seed; values follow a lone backslash.
    const std::string text = input.ConsumeRandomLengthString(size);
    const LineList read(QByteArray(text.data(), qsizetype(text.size())));
    CatalogueValues values;
    const auto rows = catalogue();
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string value = input.ConsumeRandomLengthString(64);
        // A line feed cannot reach the writer: a value read from a line holds none, and the window
        // refuses one typed in.
        values[i] = QByteArray(value.data(), qsizetype(value.size())).replace('\n', "");
        checkValueText(rows[i].property, values[i]);
    }
    checkWrite(read, SettingsFile::Graphics, values);
    checkWrite(read, SettingsFile::User, values);
    return 0;
}
