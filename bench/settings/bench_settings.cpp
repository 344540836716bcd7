// SPDX-License-Identifier: MIT
// Times a read and a write of settings files of 5 KB, 1 MB and 50 MB with the line list, and with
// the plain way (split into a list of lines, join, save) as a reference measured in the same run.
// Every case runs in a process of its own, so that its peak memory is its own.
#include "settings/linelist.h"
#include "settings/propertyline.h"
#include "settings/settingsreader.h"
#include "settings/settingswriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace tarnwell;

namespace {

struct Result {
    double readSeconds = 0;
    double writeSeconds = 0;
    qint64 peakKb = 0;
    qint64 idleKb = 0;
    bool ok = false;
};

// A figure of /proc/self/status in kB. VmHWM is the peak of this program's own memory; the peak
// that getrusage() reports would include the parent's from before the exec.
qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

qint64 residentKb()
{
    return statusKb("VmRSS:");
}

qint64 peakKb()
{
    return statusKb("VmHWM:");
}

// A graphics file padded to the size: blocks of catalogue lines, other properties and a blank line.
QByteArray generate(qint64 size)
{
    QByteArray block;
    int n = 0;
    for (const CatalogueRow &row : catalogue()) {
        if (row.file == SettingsFile::Graphics)
            block += "\t" + propertyLine(row.property, "1").mid(1) + "\n";
        block += "\t" + propertyLine("OtherSetting" + QByteArray::number(++n), "Some value").mid(1) + "\n";
    }
    block += "\n";
    QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data template=\"GcGraphicsSettings\">\n";
    text.reserve(size + block.size());
    while (text.size() + block.size() + 8 < size)
        text += block;
    text += "</Data>\n";
    while (text.size() < size)
        text.insert(text.size() - 8, "\t<!---->\n" + QByteArray(qMax<qint64>(0, size - text.size() - 9), ' ').left(0));
    return text.left(size - 1) + "\n";
}

class NoControls : public SettingsControls
{
public:
    bool isChecked(QLatin1String) const override { return false; }
    void setChecked(QLatin1String, bool) override {}
    QString text(QLatin1String) const override { return {}; }
    void setText(QLatin1String, const QString &) override {}
    QString settingName(QLatin1String control) const override { return QString(control); }
};

class YesToAll : public WriteQuestions
{
public:
    bool writeMerged(const QString &, const Merge &) override { return true; }
    bool writeReadOnly(const QString &) override { return true; }
};

// Two sets of values, written in turns, so that every write changes the file.
CatalogueValues values(int turn)
{
    CatalogueValues result;
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = turn % 2 ? QByteArray("1") : QByteArray("22");
    return result;
}

Result runLineList(const QString &path, int iterations)
{
    Result result;
    result.idleKb = residentKb();
    QElapsedTimer timer;
    NoControls controls;
    ReadValues read;
    QString width, height;
    LineList lines;
    FileState state;
    timer.start();
    for (int i = 0; i < iterations; ++i) {
        state = readSettingsFile(path, true, lines);
        showValues(lines, SettingsFile::Graphics, controls, read, width, height);
    }
    result.readSeconds = timer.nsecsElapsed() / 1e9;

    YesToAll ask;
    const QSet<QString> noneChanged;
    result.ok = state.state == ReadState::Read;
    timer.restart();
    for (int i = 0; i < iterations; ++i) {
        const CatalogueValues now = values(i);
        const FileOutcome outcome =
            writeSettingsFile(path, state, SettingsFile::Graphics, lines, {now, noneChanged, controls}, ask);
        result.ok = result.ok && outcome.status == FileOutcome::Written;
    }
    result.writeSeconds = timer.nsecsElapsed() / 1e9;
    result.peakKb = peakKb();
    return result;
}

// The plain way: a list of lines, each its own array; recognition by the same rules.
Result runReference(const QString &path, int iterations)
{
    Result result;
    result.idleKb = residentKb();
    const auto rows = catalogue();
    QElapsedTimer timer;
    QList<QByteArray> lines;
    QHash<QByteArray, QByteArray> shown;
    timer.start();
    for (int i = 0; i < iterations; ++i) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return result;
        lines = file.readAll().split('\n');
        for (const QByteArray &line : std::as_const(lines)) {
            const RowIndex row = rowReadFrom(line, SettingsFile::Graphics);
            if (row >= 0)
                shown[rows[row].property.toByteArray()] = propertyValue(line, rows[row].property).toByteArray();
        }
    }
    result.readSeconds = timer.nsecsElapsed() / 1e9;

    result.ok = true;
    timer.restart();
    for (int i = 0; i < iterations; ++i) {
        const CatalogueValues now = values(i);
        for (QByteArray &line : lines) {
            const RowIndex row = rowWrittenTo(line, SettingsFile::Graphics);
            if (row >= 0)
                line = propertyLine(rows[row].property, now[row]);
        }
        QByteArray out = lines.mid(0, lines.size() - 1).join('\n');
        if (lines.size() > 1)
            out += '\n';
        out.replace("\n\n", "\n");
        out += "\r\n";
        QSaveFile file(path);
        result.ok = result.ok && file.open(QIODevice::WriteOnly) && file.write(out) == out.size() && file.commit();
    }
    result.writeSeconds = timer.nsecsElapsed() / 1e9;
    result.peakKb = peakKb();
    return result;
}

int runCase(const QStringList &arguments)
{
    const QString kind = arguments.value(2);
    const QString path = arguments.value(3);
    const int iterations = arguments.value(4).toInt();
    const Result r = kind == QLatin1String("linelist") ? runLineList(path, iterations) : runReference(path, iterations);
    std::printf("%.9f %.9f %lld %lld %d\n", r.readSeconds, r.writeSeconds, r.peakKb, r.idleKb, r.ok ? 1 : 0);
    return r.ok ? 0 : 1;
}

Result measure(const QString &kind, const QString &path, int iterations)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("case"), kind, path, QString::number(iterations)});
    child.waitForFinished(-1);
    const QList<QByteArray> f = child.readAllStandardOutput().trimmed().split(' ');
    Result r;
    if (f.size() == 5) {
        r = {f[0].toDouble(), f[1].toDouble(), f[2].toLongLong(), f[3].toLongLong(), f[4] == "1"};
    }
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.value(1) == QLatin1String("case"))
        return runCase(arguments);
    if (arguments.value(1) == QLatin1String("generate")) { // generate SIZE PATH: a file to try by hand
        QFile file(arguments.value(3));
        const QByteArray text = generate(arguments.value(2).toLongLong());
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() ? 0 : 1;
    }

    QTemporaryDir temporary;
    const QString folder = arguments.size() > 1 ? arguments.at(1) : temporary.path();
    QTextStream out(stdout);
    struct Size {
        const char *name;
        qint64 bytes;
        int iterations;
    };
    const Size sizes[] = {{"5 KB", 5 * 1024, 400}, {"1 MB", 1 << 20, 20}, {"50 MB", 50 << 20, 3}};
    const double mb = 1 << 20;

    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("size"), -6)
               .arg(QStringLiteral("way"), -10)
               .arg(QStringLiteral("read MB/s"), 10)
               .arg(QStringLiteral("write MB/s"), 11)
               .arg(QStringLiteral("peak MB"), 8)
               .arg(QStringLiteral("peak/size"), 10);
    Result last[2];
    Result oneMb[2];
    bool allOk = true;
    for (const Size &size : sizes) {
        const QString path = folder + QStringLiteral("/TKGRAPHICSSETTINGS-%1.MXML").arg(size.bytes);
        const QByteArray text = generate(size.bytes);
        Result results[2];
        int k = 0;
        for (const QString &kind : {QStringLiteral("linelist"), QStringLiteral("reference")}) {
            {
                QFile file(path);
                if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
                    out << "cannot write " << path << "\n";
                    return 1;
                }
            }
            const Result r = measure(kind, path, size.iterations);
            allOk = allOk && r.ok;
            const double megabytes = size.bytes * double(size.iterations) / mb;
            out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                       .arg(QLatin1String(size.name), -6)
                       .arg(kind, -10)
                       .arg(megabytes / r.readSeconds, 10, 'f', 1)
                       .arg(megabytes / r.writeSeconds, 11, 'f', 1)
                       .arg(r.peakKb / 1024.0, 8, 'f', 1)
                       .arg(r.peakKb * 1024.0 / size.bytes, 10, 'f', 2);
            results[k++] = r;
        }
        QFile::remove(path);
        if (size.bytes == (1 << 20)) {
            oneMb[0] = results[0];
            oneMb[1] = results[1];
        }
        last[0] = results[0];
        last[1] = results[1];
    }

    const Size &big = sizes[2];
    const Size &mid = sizes[1];
    const auto perMb = [](const Result &r, const Size &s, bool write) {
        return (write ? r.writeSeconds : r.readSeconds) / (s.bytes * double(s.iterations) / (1 << 20));
    };
    const double bigMb = big.bytes * double(big.iterations) / mb;
    out << "\nAt 50 MB, line list against reference: read " << QString::number(last[1].readSeconds / last[0].readSeconds, 'f', 1)
        << "x faster, write " << QString::number(last[1].writeSeconds / last[0].writeSeconds, 'f', 1)
        << "x faster, peak memory " << QString::number(double(last[0].peakKb) / last[1].peakKb, 'f', 2) << " of it\n";
    out << "Cost per MB, 50 MB file against 1 MB file (1.0 = linear): read "
        << QString::number(perMb(last[0], big, false) / perMb(oneMb[0], mid, false), 'f', 2) << ", write "
        << QString::number(perMb(last[0], big, true) / perMb(oneMb[0], mid, true), 'f', 2) << "\n";
    out << "Peak memory above the idle process, 50 MB: "
        << QString::number((last[0].peakKb - last[0].idleKb) * 1024.0 / big.bytes, 'f', 2) << "x the file\n";
    const bool goal = bigMb / last[0].readSeconds >= 100 && bigMb / last[0].writeSeconds >= 100
        && last[0].peakKb * 1024.0 < 3.0 * big.bytes;
    out << "Goal (>= 100 MB/s read and write, peak < 3x the 50 MB file): " << (goal ? "met" : "NOT met") << "\n";
    if (!allOk)
        out << "Some case failed to read or write its file.\n";
    return allOk ? 0 : 1;
}
