// SPDX-License-Identifier: MIT
// Fuzz target: the one-line configuration file parsed from arbitrary bytes, and paths stored in it.
#include "fuzzcheck.h"

#include "registration/configfile.h"

#include <QFile>
#include <QTemporaryDir>

using namespace tarnwell;

// Any path is either stored and read back whole, or refused with nothing stored.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray content(reinterpret_cast<const char *>(data), qsizetype(size));
    const StoredPath parsed = parseStoredPath(content);
    const auto expectedStatus = content.isEmpty() ? StoredPath::Status::Empty : StoredPath::Status::Found;
    require(parsed.status == expectedStatus, "a file with bytes in it is not read as one with a path");
    require(!parsed.path.contains(u'\r') && !parsed.path.contains(u'\n'), "the path runs past its line");

    const QString path = QString::fromUtf8(content);
    bool control = false;
    for (const QChar c : path)
        control = control || (c.category() == QChar::Other_Control && c != u'\t');
    const QString problem = storedPathProblem(path);
    require(problem.isEmpty() != control, "a path is refused but for a control character (not a tab), or let through with one");

    static QTemporaryDir folder; // a tmpfs TMPDIR keeps the writes cheap
    const QString config = folder.filePath(QStringLiteral("Tarnwell.dat"));
    QFile::remove(config);
    require(writeStoredPath(config, path).error == problem, "the path was not stored, or stored despite its problem");
    if (!problem.isEmpty()) {
        require(!QFile::exists(config), "a refused path left a file");
        return 0;
    }
    const StoredPath stored = readStoredPath(config);
    require(stored.status == StoredPath::Status::Found && stored.path == path, "a stored path reads back otherwise");
    return 0;
}
