// SPDX-License-Identifier: MIT
// A failed check in a fuzz target: says which, and stops so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void require(bool condition, const char *what)
{
    if (condition)
        return;
    std::fprintf(stderr, "check failed: %s\n", what);
    std::abort();
}
