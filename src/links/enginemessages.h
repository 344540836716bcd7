// SPDX-License-Identifier: MIT
// Keeps the web engine's chatter off the terminal: its start-up warnings, its sandbox notice and
// the banner page's console are no news for the user. Critical and fatal messages always pass.
#pragma once

namespace tarnwell::links {

// From the first call on, messages below critical in the engine's own categories ("qt.webengine...")
// and the page console's ("js") are dropped; until endEngineStart(), so is every uncategorised one,
// for the engine speaks in the default category while it loads and starts.
void beginEngineStart();
void endEngineStart();

} // namespace tarnwell::links
