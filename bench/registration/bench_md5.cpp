// SPDX-License-Identifier: MIT
// Digests one file the way the executable check does and prints the digest and the seconds it took.
#include "registration/digest.h"

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_md5 FILE\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const tarnwell::FileDigest digest = tarnwell::md5OfFile(QString::fromLocal8Bit(argv[1]));
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!digest.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(digest.error));
        return 1;
    }
    std::printf("%s %.6f\n", qPrintable(digest.hex.toLower()), seconds);
    return 0;
}
