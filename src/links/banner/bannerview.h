// SPDX-License-Identifier: MIT
// The banner module's one entry point, looked up by name when the module is loaded.
#pragma once

#include <QtGlobal>

class QWidget;

extern "C" {
// Creates a web view filling `area` and loads the UTF-8 `address` once; returns 1 when the view exists.
Q_DECL_EXPORT int tarnwell_banner_show(QWidget *area, const char *address);
}
