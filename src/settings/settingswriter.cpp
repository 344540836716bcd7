// SPDX-License-Identifier: MIT
#include "settings/settingswriter.h"

#include "files/pathcase.h"
#include "files/filecontent.h"
#include "settings/propertyline.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnwell {

namespace {

CollectedValues refused(const SettingsControls &controls, QLatin1String control, const QString &problem)
{
    CollectedValues result;
    result.refusal = QStringLiteral("The value of \"%1\" cannot be written: it %2.\n\nNothing was written. Change the "
                                    "value and press Apply again.")
                         .arg(controls.settingName(control), problem);
    return result;
}

bool isReadOnly(const QString &path)
{
    return !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

} // namespace

void splitResolution(const QString &text, QString &resWidth, QString &resHeight)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    resWidth = parts.value(0);
    resHeight = parts.value(1);
}

CollectedValues collectValues(const SettingsControls &controls, const ReadValues &read, bool graphics, bool user,
                              const QString &resWidth, const QString &resHeight)
{
    const QLatin1String resolutionControl("Combo1");
    if (graphics && !controls.text(resolutionControl).contains(QLatin1Char('x'))) {
        return refused(controls, resolutionControl,
                       QStringLiteral("has no lower-case \"x\" between width and height (such as 1920x1080)"));
    }

    CollectedValues result;
    const auto rows = catalogue();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CatalogueRow &row = rows[i];
        if (!(row.file == SettingsFile::Graphics ? graphics : user))
            continue;
        QString text;
        switch (row.kind) {
        case ControlKind::Check:
            result.values[i] = (controls.isChecked(row.control) ? row.whenChecked : row.whenCleared).toByteArray();
            continue;
        case ControlKind::Text:
        case ControlKind::Combo:
            text = controls.text(row.control);
            break;
        case ControlKind::ResWidth:
            text = resWidth;
            break;
        case ControlKind::ResHeight:
            text = resHeight;
            break;
        }
        EncodedValue encoded = read.encode(row.property, text);
        if (!encoded.problem.isEmpty())
            return refused(controls, row.control, encoded.problem);
        result.values[i] = std::move(encoded.bytes);
    }
    return result;
}

bool renderWithValues(const LineList &lines, SettingsFile file, const CatalogueValues &values, const ChunkSink &sink)
{
    const auto rows = catalogue();
    const auto replace = [&](const LineList::Line &line, QByteArray &content) {
        const RowIndex index = rowWrittenTo(line.content, file);
        if (index < 0)
            return false;
        appendPropertyLine(content, rows[index].property, values[index]);
        return true;
    };
    return lines.render(replace, sink);
}

FileOutcome writeSettingsFile(const QString &path, FileState &state, SettingsFile file, LineList &lines,
                              const WindowValues &window, WriteQuestions &ask)
{
    const bool exists = fileExists(path);
    switch (state.state) {
    case ReadState::NoGameFolder:
        return {FileOutcome::NotWritten, QStringLiteral("No game executable has been chosen, so it was not written.")};
    case ReadState::Missing:
        if (!exists)
            return {FileOutcome::Skipped, {}};
        return {FileOutcome::NotWritten,
                QStringLiteral("It was not there when the settings were read, so the window does not show what it "
                               "holds. It was not written: press Reload first.")};
    case ReadState::Unreadable:
        return {FileOutcome::NotWritten,
                QStringLiteral("It could not be read when the settings were read (%1), so it was not written. Press "
                               "Reload once it can be read.")
                    .arg(state.error)};
    case ReadState::Read:
        break;
    }
    if (!exists) {
        return {FileOutcome::NotWritten,
                QStringLiteral("It is no longer there, so it was not written. Press Reload to read the settings again.")};
    }

    const QString onDisk = resolveCase(path);
    CatalogueValues values = window.values;
    const auto contentWith = [&](const CatalogueValues &with) {
        return [&lines, file, with = &with](const ChunkSink &sink) { return renderWithValues(lines, file, *with, sink); };
    };
    // What the file should hold if nobody else has written it since this tool last did.
    const Comparison sinceRead = state.written ? compareWithFile(onDisk, contentWith(*state.written))
                                               : compareWithFile(onDisk, lines.text());
    if (sinceRead.result == Comparison::Failed) {
        return {FileOutcome::NotWritten,
                QStringLiteral("It could not be read before writing (%1), so it was not written.").arg(sinceRead.error),
                true};
    }
    std::optional<Merge> merge;
    if (sinceRead.result == Comparison::Different) {
        FileBytes now = readWholeFile(onDisk, kSettingsFileLimit);
        if (!now.ok()) {
            return {FileOutcome::NotWritten,
                    QStringLiteral("It changed on disk and could not be read again (%1), so it was not written.")
                        .arg(now.error),
                    true};
        }
        LineList current(std::move(now.bytes));
        const PropertyValues base = propertyValues(lines, file, state.written ? &*state.written : nullptr);
        merge = mergeValues(file, base, propertyValues(current, file), window.values, window.userChanged,
                            window.controls);
        if (!ask.writeMerged(path, *merge)) {
            return {FileOutcome::NotWritten,
                    QStringLiteral("It changed on disk after it was read, and you chose not to write into it. It was "
                                   "left as it is; press Reload to see what it holds now.")};
        }
        // Whatever else changed in the file is kept: the values go into its lines as they are now.
        lines = std::move(current);
        state.written.reset();
        values = merge->values;
    }

    if (propertyValues(lines, file).isEmpty()) {
        return {FileOutcome::NotWritten,
                QStringLiteral("It holds none of the settings Tarnwell edits (no line of it was recognised), so it "
                               "was left as it is.")};
    }
    const Comparison current = compareWithFile(onDisk, contentWith(values));
    if (current.result == Comparison::Same) {
        state.written = values;
        return {FileOutcome::Unchanged, {}, false, merge};
    }
    if (isReadOnly(onDisk) && !ask.writeReadOnly(path)) {
        return {FileOutcome::NotWritten,
                QStringLiteral("It is read-only, and you chose to leave it so. It was not written.")};
    }
    const QString unprotected = ask.beforeReplace(onDisk);
    if (!unprotected.isEmpty())
        return {FileOutcome::NotWritten, unprotected + QStringLiteral(" It was not written."), true};
    const FileWrite written = writeAtomically(onDisk, contentWith(values));
    if (written.replaced)
        state.written = values;
    if (!written.ok())
        return {FileOutcome::NotWritten, written.problem, true};
    return {FileOutcome::Written, {}, false, merge};
}

ApplyReport applyReport(std::initializer_list<NamedOutcome> files)
{
    bool allSkipped = true;
    bool allDone = true;
    bool failed = false;
    for (const NamedOutcome &file : files) {
        allSkipped = allSkipped && file.outcome.status == FileOutcome::Skipped;
        allDone = allDone && file.outcome.status != FileOutcome::NotWritten;
        failed = failed || file.outcome.failed;
    }
    if (allSkipped && files.size() > 0) {
        const QString folder = QFileInfo(files.begin()->path).path();
        return {false,
                QStringLiteral("No settings file was found in %1, so nothing was written.")
                    .arg(QDir::toNativeSeparators(folder)),
                false};
    }
    if (allDone)
        return {};

    QStringList parts{QStringLiteral("Not every settings file was written.")};
    for (const NamedOutcome &file : files) {
        QString what;
        switch (file.outcome.status) {
        case FileOutcome::Written:
            what = QStringLiteral("It was written.");
            break;
        case FileOutcome::Unchanged:
            what = QStringLiteral("It already held these settings.");
            break;
        case FileOutcome::Skipped:
            what = QStringLiteral("It is not there, so it was skipped.");
            break;
        case FileOutcome::NotWritten:
            what = file.outcome.problem;
            break;
        }
        parts << QDir::toNativeSeparators(file.path) + QLatin1Char('\n') + what;
    }
    return {false, parts.join(QStringLiteral("\n\n")), failed};
}

} // namespace tarnwell
