// SPDX-License-Identifier: MIT
// The terminal of the command line. On Windows the program is a windowed one, which has no console
// of its own: it writes to the console it was started from, and its commands get that console too.
#pragma once

#include <QByteArrayView>
#include <QString>

namespace tarnwell::console {

// Takes over the console of the parent for the standard streams that go nowhere else (not to a file
// or a pipe); nothing to do on Unix.
void attach();

// Writes the bytes as they are to standard output, the text in the system's encoding to standard
// error; both at once, unbuffered.
void writeOut(QByteArrayView bytes);
void writeErr(const QString &text);

} // namespace tarnwell::console
