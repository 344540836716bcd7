// SPDX-License-Identifier: MIT
// Brings the banner's web view in from its own module, after the window has been painted.
#pragma once

#include <QString>

class QWidget;

namespace tarnwell::links {

// Loads the banner module found for the program in `folder` (beside it, else in the installed
// library folder) and has it show `address` inside `area` once the page has loaded. False when
// there is no module or it would not make the view; the area then keeps showing what it draws
// itself.
[[nodiscard]] bool loadBanner(const QString &folder, QWidget *area, const QString &address);

// Calls loadBanner() once `area` has been painted for the first time, so that showing the window
// never waits for the web engine.
void loadBannerAfterFirstPaint(const QString &folder, QWidget *area, const QString &address);

} // namespace tarnwell::links
