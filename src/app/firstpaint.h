// SPDX-License-Identifier: MIT
// Work that can wait until the window has been seen: it runs once the widget has been painted for the
// first time, on the next turn of the event loop, after the painted frame has reached the screen.
#pragma once

#include <functional>

class QObject;
class QWidget;

// Runs `work` after the first paint of `widget`, unless `context` is gone by then.
void afterFirstPaint(QWidget *widget, QObject *context, std::function<void()> work);
