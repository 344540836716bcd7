// SPDX-License-Identifier: MIT
#include "links/enginemessages.h"

#include <QtGlobal>

#include <atomic>
#include <cstring>

namespace tarnwell::links {

namespace {

std::atomic<QtMessageHandler> g_next{nullptr};
std::atomic_bool g_starting{false};

bool isChatter(QtMsgType type, const char *category)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        return false;
    const bool engine = category && (std::strncmp(category, "qt.webengine", 12) == 0 || std::strcmp(category, "js") == 0);
    const bool uncategorised = !category || std::strcmp(category, "default") == 0;
    return engine || (uncategorised && g_starting);
}

// Runs on whatever thread speaks, the engine's included.
void filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QtMessageHandler next = g_next.load();
    if (next && !isChatter(type, context.category))
        next(type, context, message);
}

} // namespace

void beginEngineStart()
{
    g_starting = true;
    // Whatever handler was there before passes the rest on, unless it is this one already.
    const QtMessageHandler previous = qInstallMessageHandler(filter);
    if (previous != filter)
        g_next = previous;
}

void endEngineStart()
{
    g_starting = false;
}

} // namespace tarnwell::links
