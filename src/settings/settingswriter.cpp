// SPDX-License-Identifier: MIT
#include "settings/settingswriter.h"

#include "files/pathcase.h"
#include "files/filecontent.h"
#include "files/openfile.h"
#include "settings/propertyline.h"
#include "settings/settingshelp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tarnwell {

namespace {

// Brightness "99999": it takes a number from 0 to 300.
QString refusal(const SettingsControls &controls, QLatin1String control, const QString &value, const QString &problem)
{
    return QStringLiteral("%1 \"%2\": it %3.").arg(controls.settingName(control), value, problem);
}

bool isReadOnly(const QString &path)
{
    return !(QFile::permissions(path) & QFileDevice::WriteOwner);
}

// Why the resolution cannot be written, or empty: its text is named whole, once.
QString resolutionProblem(const ReadValues &read, const QString &text, const QString &resWidth,
                          const QString &resHeight)
{
    const QLatin1String control("Combo1");
    if (!text.contains(QLatin1Char('x')))
        return QStringLiteral("has no lower-case \"x\" between width and height (such as 1920x1080)");
    const std::pair<QByteArrayView, const QString *> parts[] = {{"ResolutionWidth", &resWidth},
                                                                {"ResolutionHeight", &resHeight}};
    for (const auto &[property, part] : parts) {
        if (const QString problem = read.encode(property, *part).problem; !problem.isEmpty())
            return problem;
        if (!read.unchanged(property, *part) && !inRange(control, *part))
            return QStringLiteral("takes width x height, each %1").arg(valueRange(control));
    }
    return {};
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
    CollectedValues result;
    QStringList refused;
    const QLatin1String resolution("Combo1");
    if (const QString problem = graphics ? resolutionProblem(read, controls.text(resolution), resWidth, resHeight)
                                         : QString();
        !problem.isEmpty()) {
        refused << refusal(controls, resolution, controls.text(resolution), problem);
        result.refused.append({resolution, problem});
    }
    const auto rows = catalogue();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CatalogueRow &row = rows[i];
        if (!(row.file == SettingsFile::Graphics ? graphics : user))
            continue;
        switch (row.kind) {
        case ControlKind::Check:
            result.values[i] = (controls.isChecked(row.control) ? row.whenChecked : row.whenCleared).toByteArray();
            break;
        case ControlKind::ResWidth:
        case ControlKind::ResHeight:
            result.values[i] = read.encode(row.property, row.kind == ControlKind::ResWidth ? resWidth : resHeight).bytes;
            break;
        case ControlKind::Text:
        case ControlKind::Combo: {
            // Every value is looked at, so that one message names them all. A value read out of range
            // goes back as it came.
            const QString text = controls.text(row.control);
            EncodedValue encoded = read.encode(row.property, text);
            if (encoded.problem.isEmpty() && !read.unchanged(row.property, text))
                encoded.problem = rangeProblem(row.control, text);
            if (!encoded.problem.isEmpty()) {
                refused << refusal(controls, row.control, text, encoded.problem);
                result.refused.append({row.control, encoded.problem});
            }
            result.values[i] = std::move(encoded.bytes);
            break;
        }
        }
    }
    if (!refused.isEmpty()) {
        result.values = {};
        result.refusal = QStringLiteral("These values cannot be written:\n\n%1\n\nNothing was written. Change them "
                                        "and press Apply again.")
                             .arg(refused.join(QLatin1Char('\n')));
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

namespace {

// Why the file is not to be written at all, going by how the last read fared.
std::optional<FileOutcome> refusedByRead(const FileState &state, bool exists)
{
    switch (state.state) {
    case ReadState::NoGameFolder:
        return FileOutcome{FileOutcome::NotWritten,
                           QStringLiteral("No game executable has been chosen, so it was not written.")};
    case ReadState::Missing:
        if (!exists)
            return FileOutcome{FileOutcome::Skipped, {}};
        return FileOutcome{FileOutcome::NotWritten,
                           QStringLiteral("It was not there when the settings were read, so the window does not "
                                          "show what it holds. It was not written: press Reload first.")};
    case ReadState::Unreadable:
        return FileOutcome{FileOutcome::NotWritten,
                           QStringLiteral("It could not be read when the settings were read (%1), so it was not "
                                          "written. Press Reload once it can be read.")
                               .arg(state.error)};
    case ReadState::Read:
        break;
    }
    if (!exists) {
        return FileOutcome{FileOutcome::NotWritten, QStringLiteral("It is no longer there, so it was not written. "
                                                                   "Press Reload to read the settings again.")};
    }
    return std::nullopt;
}

// Whether the lines with these values give exactly `bytes`; compared as they are made, never built whole.
bool rendersAs(const LineList &lines, SettingsFile file, const CatalogueValues &values, QByteArrayView bytes)
{
    qsizetype at = 0;
    const bool same = renderWithValues(lines, file, values, [&at, bytes](QByteArrayView chunk) {
        if (chunk.size() > bytes.size() - at || bytes.sliced(at, chunk.size()) != chunk)
            return false;
        at += chunk.size();
        return true;
    });
    return same && at == bytes.size();
}

// What one round of a write puts into the file: its lines and the values that go into them.
struct Plan {
    LineList lines;
    CatalogueValues values;
    std::optional<Merge> merge;
};

// The questions about the file itself (read-only, other names): the refusal when the user says No.
std::optional<FileOutcome> declinedWrite(const QString &path, const QString &onDisk, WriteQuestions &ask)
{
    if (isReadOnly(onDisk) && !ask.writeReadOnly(path)) {
        return FileOutcome{FileOutcome::NotWritten,
                           QStringLiteral("It is read-only, and you chose to leave it so. It was not written.")};
    }
    if (const int names = nameCount(onDisk); names > 1 && !ask.writeLinked(path, names - 1)) {
        return FileOutcome{FileOutcome::NotWritten, QStringLiteral("It has other names (hard links), and you chose to "
                                                                   "leave it as it is. It was not written.")};
    }
    return std::nullopt;
}

// What goes into the file: the values into its lines as last seen, or, when it changed since (`changed`
// holds it then), the user's changes merged into its new lines after a Yes; nothing when the answer is No.
std::optional<Plan> planFor(const QString &path, const QByteArray *changed, const LineList &lines,
                            const FileState &state, SettingsFile file, const WindowValues &window, WriteQuestions &ask)
{
    if (!changed)
        return Plan{lines, window.values, std::nullopt};
    Plan plan{LineList(*changed), {}, std::nullopt};
    const PropertyValues base = propertyValues(lines, file, state.written ? &*state.written : nullptr);
    plan.merge = mergeValues(file, base, propertyValues(plan.lines, file), window.values, window.userChanged,
                             window.controls);
    plan.values = plan.merge->values;
    if (!ask.writeMerged(path, *plan.merge))
        return std::nullopt;
    return plan;
}

// A file read again after every question that was open while it changed: at most this often.
constexpr int kRounds = 5;

} // namespace

namespace {

// One round of a write: the file read as it is now, the plan for it, the questions and the replace.
// Nothing when the file changed meanwhile, so that the next round reads it again.
std::optional<FileOutcome> writeRound(const QString &path, const QString &onDisk, SettingsFile file, FileState &state,
                                      LineList &lines, const WindowValues &window, WriteQuestions &ask)
{
    // Read once: the merge, the backup and the check before the replace all go by these bytes.
    const FileBytes now = readWholeFile(onDisk, kSettingsFileLimit);
    if (!now.ok()) {
        return FileOutcome{FileOutcome::NotWritten,
                           QStringLiteral("It could not be read before writing (%1), so it was not written.").arg(now.error),
                           true};
    }
    // Whether it holds what it should if nobody else has written it since this tool last read or wrote it.
    const bool asLastSeen = state.written ? rendersAs(lines, file, *state.written, now.bytes) : lines.text() == now.bytes;
    const std::optional<Plan> planned = planFor(path, asLastSeen ? nullptr : &now.bytes, lines, state, file, window, ask);
    if (!planned) {
        return FileOutcome{FileOutcome::NotWritten,
                           QStringLiteral("It changed on disk after it was read, and you chose not to write into it. It "
                                          "was left as it is; press Reload to see what it holds now.")};
    }
    const Plan &plan = *planned;
    if (!holdsAnySetting(plan.lines, file)) {
        return FileOutcome{FileOutcome::NotWritten,
                           QStringLiteral("It holds none of the settings Tarnwell edits (no line of it was recognised), "
                                          "so it was left as it is.")};
    }
    const auto settle = [&] {
        lines = plan.lines;
        state.written = plan.values;
    };
    if (rendersAs(plan.lines, file, plan.values, now.bytes) && unchangedSince(onDisk, now)) {
        settle();
        return FileOutcome{FileOutcome::Unchanged, {}, false, plan.merge};
    }
    if (std::optional<FileOutcome> declined = declinedWrite(path, onDisk, ask))
        return declined;
    // A question was open, or the copy took its time: a change made meanwhile is merged, never lost.
    if (!unchangedSince(onDisk, now))
        return std::nullopt;
    if (const QString unprotected = ask.beforeReplace(onDisk, now.bytes); !unprotected.isEmpty())
        return FileOutcome{FileOutcome::NotWritten, unprotected + QStringLiteral(" It was not written."), true};
    // The last look comes once the new content is on the disk, right before it takes the file's place: a
    // change made while the copy was kept, or while the new content was written, is merged. The content
    // is made in pieces as it is written and read back, never whole in memory.
    WriteOptions lastLook;
    lastLook.expected = &now;
    const FileWrite written = writeAtomically(
        onDisk, [&plan, file](const ChunkSink &sink) { return renderWithValues(plan.lines, file, plan.values, sink); },
        lastLook);
    if (written.changed)
        return std::nullopt;
    if (written.replaced)
        settle();
    if (!written.ok())
        return FileOutcome{FileOutcome::NotWritten, written.problem, true};
    return FileOutcome{FileOutcome::Written, {}, false, plan.merge};
}

} // namespace

FileOutcome writeSettingsFile(const QString &path, FileState &state, SettingsFile file, LineList &lines,
                              const WindowValues &window, WriteQuestions &ask)
{
    if (std::optional<FileOutcome> refused = refusedByRead(state, fileExists(path)))
        return *refused;
    const QString onDisk = resolveCase(path);
    for (int round = 0; round < kRounds; ++round) {
        if (std::optional<FileOutcome> outcome = writeRound(path, onDisk, file, state, lines, window, ask))
            return *outcome;
    }
    return {FileOutcome::NotWritten,
            QStringLiteral("It kept changing while it was being written (is the game running?), so it was not "
                           "written. Press Apply again once it is quiet.")};
}

ApplyReport applyReport(const QList<NamedOutcome> &files)
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
