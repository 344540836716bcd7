// SPDX-License-Identifier: MIT
// Writing the controls' values back into the settings files without ever losing a byte of them.
#pragma once

#include "settings/catalogue.h"
#include "settings/linelist.h"
#include "settings/settingscontrols.h"
#include "settings/settingsmerge.h"
#include "settings/settingsreader.h"
#include "settings/valuetext.h"

#include <optional>

namespace tarnwell {

// A value that cannot be written: its control, and why (a phrase after "it").
struct RefusedValue {
    QLatin1String control;
    QString problem;
};

struct CollectedValues {
    CatalogueValues values;
    QString refusal; // a message naming the setting whose value cannot be written
    QList<RefusedValue> refused; // in the message's order
};

// Cuts the resolution text at every lower-case "x": the first part is the width, the second the
// height (empty when there is none); further parts are ignored.
void splitResolution(const QString &text, QString &resWidth, QString &resHeight);

// Takes the values for the rows of the files named from the controls, the resolution from its two
// parts. Nothing is taken when a value cannot be written.
[[nodiscard]] CollectedValues collectValues(const SettingsControls &controls, const ReadValues &read, bool graphics,
                                            bool user, const QString &resWidth, const QString &resHeight);

// The text of the file with every line that carries a catalogue property replaced by a freshly
// built line with its value; in chunks.
bool renderWithValues(const LineList &lines, SettingsFile file, const CatalogueValues &values, const ChunkSink &sink);

// What the writer asks the user before it writes over a file.
class WriteQuestions
{
public:
    virtual ~WriteQuestions() = default;
    // The file changed on disk since it was read or last written; true writes the merge into its
    // current lines.
    virtual bool writeMerged(const QString &path, const Merge &merge) = 0;
    // The file is read-only; true writes it all the same and leaves it read-only.
    virtual bool writeReadOnly(const QString &path) = 0;
    // The file has `others` more names (hard links), which keep the old content; true writes it.
    virtual bool writeLinked(const QString &path, int others)
    {
        Q_UNUSED(path);
        Q_UNUSED(others);
        return true;
    }
    // Right before the file is replaced, with the bytes it holds: why no copy of them could be kept,
    // which stops the write; empty to go on.
    virtual QString beforeReplace(const QString &path, QByteArrayView bytes)
    {
        Q_UNUSED(path);
        Q_UNUSED(bytes);
        return {};
    }
};

// What the writer needs besides the lines: the window's values, and for a merge which controls the
// user changed and how the controls are named.
struct WindowValues {
    const CatalogueValues &values;
    const QSet<QString> &userChanged;
    const SettingsControls &controls;
};

struct FileOutcome {
    enum Status { Written, Unchanged, Skipped, NotWritten } status;
    QString problem;     // why it was not written (or not written well): a sentence for the user
    bool failed = false; // the system refused, rather than the user or the circumstances
    std::optional<Merge> merge = {}; // set when the game's changes were merged in
};

// Writes one settings file from its lines as last read, after the checks a user would want: a file
// that was not read is not written from an empty list, a file that holds none of the catalogue's
// settings is left alone, a file changed on disk gets only the user's changes (after a Yes), a file
// marked read-only is written only after a Yes, and a file that already holds the new content is
// left alone. The file is read once per round; when it changes while a question is open or before
// the replace, it is read, merged and asked about again. The state remembers what was written, so
// that the next write can tell whether another program has changed the file since.
[[nodiscard]] FileOutcome writeSettingsFile(const QString &path, FileState &state, SettingsFile file, LineList &lines,
                                            const WindowValues &window, WriteQuestions &ask);

struct NamedOutcome {
    QString path;
    FileOutcome outcome;
};

struct ApplyReport {
    bool ok = true;  // every file that was read has been written or needed no change
    QString message; // for the user when not ok
    bool failed = false;
    QList<RefusedValue> refused = {}; // the values that stopped it, when they did
};

ApplyReport applyReport(const QList<NamedOutcome> &files);

} // namespace tarnwell
