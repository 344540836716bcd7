// SPDX-License-Identifier: MIT
// Opening a web address (such as steam://rungameid/...) with the desktop's own opener, and hearing
// when that fails.
#pragma once

#include <QString>

#include <functional>

namespace tarnwell {

// Called once, on the thread that asked: whether the address was handed over, and why not.
using AddressOpened = std::function<void(bool opened, const QString &error)>;

// Returns at once. An opener that cannot be started, or that ends reporting a failure, is told to
// `done` with the reason; an opener still busy after a while is taken to have opened it.
void openAddress(const QString &address, const AddressOpened &done);

} // namespace tarnwell
