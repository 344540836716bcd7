// SPDX-License-Identifier: MIT
// Times the search for installations on a player's machine of 200, 2,000 and 20,000 Steam games, the
// machine made by the tests' own fixture in a temporary folder, with a warm cache.
#include "common/playermachine.h"
#include "registration/discovery.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace tarnwell;

int main(int argc, char *argv[])
{
    const int runs = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 7;
    const QString place = argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/discovery-XXXXXX") : QString();
    std::printf("%8s %10s %10s %12s %s\n", "games", "entries", "best ms", "us per game", "found");
    bool allFound = true;
    double perGameSmallest = 0, perGameLargest = 0;
    for (const int games : {200, 2000, 20000}) {
        QTemporaryDir home(place);
        testsupport::PlayerMachine machine;
        testsupport::PlayerMachine::Sizes sizes;
        sizes.steamGames = games;
        sizes.exeBytes = 3;
        if (!machine.make(home.path(), sizes)) {
            std::fprintf(stderr, "the machine of %d games could not be made in %s\n", games, qPrintable(home.path()));
            return 2;
        }
        Discovery result = findInstallations(home.path(), {}); // the cache warmed
        qint64 best = -1;
        for (int i = 0; i < runs; ++i) {
            QElapsedTimer clock;
            clock.start();
            result = findInstallations(home.path(), {});
            const qint64 elapsed = clock.nsecsElapsed();
            best = best < 0 ? elapsed : std::min(best, elapsed);
        }
        const bool found = std::any_of(result.found.cbegin(), result.found.cend(), [](const Installation &one) {
            return one.caption == QLatin1String("Steam: Quillvane");
        });
        allFound = allFound && found && result.cutShort.isEmpty();
        const double perGame = double(best) / 1000 / games;
        (games == 200 ? perGameSmallest : perGameLargest) = perGame;
        const QString cut = result.cutShort.isEmpty() ? QString()
                                                      : QStringLiteral(", cut short: ") + result.cutShort.join(QStringLiteral("; "));
        std::printf("%8d %10lld %10.1f %12.2f %s%s\n", games, static_cast<long long>(result.entries), double(best) / 1e6,
                    perGame, found ? "yes" : "NO", qPrintable(cut));
    }
    std::printf("cost per game at 20,000 games against 200: %.2fx (linear: about 1, less where fixed costs spread)\n",
                perGameLargest / perGameSmallest);
    return allFound ? 0 : 1;
}
