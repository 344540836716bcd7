// SPDX-License-Identifier: MIT
// Content passed on a piece at a time, so that no large file is ever held twice in memory.
#pragma once

#include <QByteArrayView>

#include <functional>

namespace tarnwell {

// Receives output a chunk at a time; returns false to stop the output early.
using ChunkSink = std::function<bool(QByteArrayView chunk)>;

// Hands content to the sink a chunk at a time; false when the sink stopped it.
using Producer = std::function<bool(const ChunkSink &sink)>;

} // namespace tarnwell
