// SPDX-License-Identifier: MIT
// Digests one file the way the executable check does and prints the digest and the seconds it took.
// With --in-memory, the file is read into memory first and only the digest of those bytes is timed:
// the most any digest of a file can reach on this machine, since its bytes pass through memory.
#include "registration/digest.h"
#include "registration/md5stream.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    const bool inMemory = argc == 3 && std::strcmp(argv[1], "--in-memory") == 0;
    if (argc != 2 && !inMemory) {
        std::fprintf(stderr, "usage: bench_md5 [--in-memory] FILE\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[argc - 1]);
    QElapsedTimer timer;
    if (inMemory) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "%s\n", qPrintable(file.errorString()));
            return 1;
        }
        const QByteArray bytes = file.readAll();
        timer.start();
        const QByteArray digest = tarnwell::Md5Stream::ofBytes(bytes);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        std::printf("%s %.6f\n", digest.toHex().constData(), seconds);
        return 0;
    }
    timer.start();
    const tarnwell::FileDigest digest = tarnwell::md5OfFile(path);
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!digest.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(digest.error));
        return 1;
    }
    std::printf("%s %.6f\n", qPrintable(digest.hex.toLower()), seconds);
    return 0;
}
