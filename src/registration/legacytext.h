// SPDX-License-Identifier: MIT
// Text of the tool's own small files: UTF-8 now, the system's 8-bit encoding in files of earlier versions.
#pragma once

#include <QByteArray>
#include <QString>

namespace tarnwell {

// UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark is dropped); otherwise the system's
// 8-bit encoding, and Latin-1 where that encoding is itself UTF-8 and cannot take the bytes.
QString decodeToolText(const QByteArray &bytes);

} // namespace tarnwell
