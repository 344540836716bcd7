// SPDX-License-Identifier: MIT
#include "highcontrast.h"

#include <QColor>
#include <QGuiApplication>
#include <QPalette>

#include <cmath>

namespace {

// Relative luminance as the contrast guidelines for the web define it.
double luminance(const QColor &colour)
{
    const auto linear = [](double channel) {
        return channel <= 0.03928 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

} // namespace

bool highContrastRequested()
{
    // No desktop setting reaches Qt here; ordinary themes stay well below 19:1 (black on the usual
    // light grey is 18:1), high-contrast ones use pure black and white (21:1).
    const QPalette palette = QGuiApplication::palette();
    const double a = luminance(palette.color(QPalette::Window));
    const double b = luminance(palette.color(QPalette::WindowText));
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05) >= 19.0;
}
