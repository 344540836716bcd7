// SPDX-License-Identifier: MIT
// Carries out a command value itself: no shell or command interpreter ever reads its operand.
#pragma once

namespace tarnwell {

struct Command;

// Returns at once. Programs start detached in their own folder, web addresses open in the user's
// browser, deletions run on a worker thread; outcomes are not reported.
void runDetached(const Command &command);

} // namespace tarnwell
