// SPDX-License-Identifier: MIT
#include "cliconsole.h"

#include <cstdio>

namespace tarnwell::console {

void attach()
{
}

void writeOut(QByteArrayView bytes)
{
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void writeErr(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace tarnwell::console
