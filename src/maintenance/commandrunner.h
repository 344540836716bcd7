// SPDX-License-Identifier: MIT
// Carries out a command value itself: no shell or command interpreter ever reads its operand.
#pragma once

#include "maintenance/command.h"

namespace tarnwell {

// Returns at once. Programs start detached in their own folder, web addresses open in the user's
// browser, deletions run on a worker thread. `done`, when given, hears the outcome later, on the
// thread of the application's event loop.
void runDetached(const Command &command, const CommandDone &done = {});

} // namespace tarnwell
