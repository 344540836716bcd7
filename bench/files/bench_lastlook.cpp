// SPDX-License-Identifier: MIT
// The game writes its settings file while Apply writes the user's change into it: in how many runs is
// the game's change still there afterwards? Each run reads a 60 MB file, changes Brightness as the user
// would, and writes it through the settings session, while a child process, standing for the game,
// sets MaxframeRate at a random moment of that write: in place, or by saving a new file over it.
#include "settings/heldcontrols.h"
#include "settings/settingssession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

using namespace tarnwell;

namespace {

class Yes final : public WriteQuestions
{
public:
    bool writeMerged(const QString &, const Merge &) override { return true; }
    bool writeReadOnly(const QString &) override { return true; }
};

// The game finds its line however it is indented, before Apply or after.
const QByteArray kGameLine = "name=\"MaxframeRate\" value=\"144\"";
const QByteArray kGameChanged = "name=\"MaxframeRate\" value=\"060\"";

QByteArray graphics()
{
    QByteArray text = "<Data>\n\t<Property name=\"Brightness\" value=\"120\" />\n\t<Property " + kGameLine + " />\n";
    const QByteArray filler = "\t<Property name=\"OtherSetting\" value=\"0123456789abcdef\" />\n";
    text.reserve(60 << 20);
    while (text.size() < (60 << 20))
        text += filler;
    return text + "</Data>\n";
}

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The game, in a process of its own: after `delayUs`, MaxframeRate changes, in place or saved anew.
pid_t playGame(const QString &path, qint64 delayUs, bool inPlace)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::usleep(useconds_t(delayUs));
    QFile file(path);
    if (inPlace) {
        if (file.open(QIODevice::ReadWrite)) {
            const QByteArray text = file.read(1 << 20);
            const qsizetype at = text.indexOf(kGameLine);
            if (at >= 0 && file.seek(at))
                file.write(kGameChanged);
            file.close(); // on the disk before the process leaves without its destructors
        }
    } else if (file.open(QIODevice::ReadOnly)) {
        QByteArray text = file.readAll();
        file.close();
        text.replace(kGameLine, kGameChanged);
        const QByteArray saved = QFile::encodeName(path + QStringLiteral(".game"));
        if (put(path + QStringLiteral(".game"), text))
            ::rename(saved.constData(), QFile::encodeName(path).constData());
    }
    ::_exit(0);
}

struct Run {
    bool kept = false;
    bool written = false;
    qint64 ms = 0;
};

Run run(const QString &folder, const QByteArray &text, qint64 delayUs, bool inPlace)
{
    const QString settings = folder + QStringLiteral("/Binaries/SETTINGS/");
    put(settings + QStringLiteral("TKGRAPHICSSETTINGS.MXML"), text);
    put(settings + QStringLiteral("GCUSERSETTINGSDATA.MXML"), "<Data>\n\t<Property name=\"MusicVolume\" value=\"50\" />\n</Data>\n");
    HeldControls controls; // as the window starts
    SettingsSession session(controls);
    session.read(folder + QLatin1Char('/'));
    controls.setText(QLatin1String("Text3"), QStringLiteral("90"));
    session.takeResolution();
    const pid_t game = delayUs >= 0 ? playGame(settings + QStringLiteral("TKGRAPHICSSETTINGS.MXML"), delayUs, inPlace) : 0;
    QElapsedTimer clock;
    clock.start();
    Yes yes;
    const ApplyReport report = session.write(yes);
    if (!report.ok)
        std::fprintf(stderr, "%s\n", qPrintable(report.message));
    Run result;
    result.ms = clock.elapsed();
    int status = 0;
    if (game > 0)
        ::waitpid(game, &status, 0);
    QFile written(settings + QStringLiteral("TKGRAPHICSSETTINGS.MXML"));
    const QByteArray head = written.open(QIODevice::ReadOnly) ? written.read(4096) : QByteArray();
    result.kept = head.contains("value=\"060\"");
    result.written = report.ok && head.contains("\"Brightness\" value=\"90\"");
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? QByteArray(argv[1]).toInt() : 50;
    QTemporaryDir temporary(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/lastlook-XXXXXX")
                                     : QString());
    const QString folder = temporary.path();
    QDir().mkpath(folder + QStringLiteral("/Binaries/SETTINGS"));
    const QByteArray text = graphics();
    const Run alone = run(folder, text, -1, true); // how long a write takes with no game writing
    std::printf("file: 60 MB; Apply alone takes %lld ms; the game writes at a random moment within %lld ms\n",
                static_cast<long long>(alone.ms), static_cast<long long>(alone.ms * 12 / 10));
    int kept = 0, written = 0;
    qint64 slowest = 0;
    for (int i = 0; i < runs; ++i) {
        const qint64 delayUs = QRandomGenerator::global()->bounded(alone.ms * 1200 + 1);
        const Run one = run(folder, text, delayUs, i % 2 == 0);
        if (qEnvironmentVariableIsSet("LASTLOOK_TRACE"))
            std::printf("run %d: %s at %lld us, Apply %lld ms: %s%s\n", i, i % 2 == 0 ? "in place" : "saved anew",
                        static_cast<long long>(delayUs), static_cast<long long>(one.ms), one.kept ? "kept" : "LOST",
                        one.written ? "" : ", the user's change not in the file");
        kept += one.kept;
        written += one.written;
        slowest = std::max(slowest, one.ms);
    }
    // A game that saved what it read before Apply's new content was there puts its own file back over
    // it: the game's change stays, and Apply says its content is not in the file.
    std::printf("the game's change kept in %d of %d runs (goal: all); the user's change in the file after %d "
                "(the others: the game saved over it, which Apply reported); slowest Apply %lld ms\n",
                kept, runs, written, static_cast<long long>(slowest));
    return kept == runs ? 0 : 1;
}
