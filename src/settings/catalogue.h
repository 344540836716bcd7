// SPDX-License-Identifier: MIT
// The rows that bind the properties of the game's two settings files to the window's controls.
#pragma once

#include <QByteArray>
#include <QLatin1String>

#include <array>
#include <span>

namespace tarnwell {

enum class SettingsFile { Graphics, User };

enum class ControlKind { Check, Text, Combo, ResWidth, ResHeight };

struct CatalogueRow {
    SettingsFile file;
    QByteArrayView property;
    QLatin1String control; // object name of the window's control
    ControlKind kind;
    // Check boxes only: a value that begins with `flag` sets the box to `flagChecks`, and clears
    // `alsoClears` when there is one; the writer puts `whenChecked` or `whenCleared`.
    QByteArrayView flag = {};
    bool flagChecks = true;
    QLatin1String alsoClears = {};
    QByteArrayView whenChecked = {};
    QByteArrayView whenCleared = {};
};

inline constexpr std::size_t kCatalogueSize = 33;

// All rows, in the order in which they are tried on a line.
std::span<const CatalogueRow> catalogue();

// Index of a row in catalogue(); -1 for none.
using RowIndex = int;

// The bytes each row writes, by row index.
using CatalogueValues = std::array<QByteArray, kCatalogueSize>;

} // namespace tarnwell
