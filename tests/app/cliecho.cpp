// SPDX-License-Identifier: MIT
// A command for the command line's tests: prints each argument after the first in brackets, one
// line in all, and exits with the first as its status. Without Qt, so that nothing reads them but the
// C runtime.
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    for (int i = 2; i < argc; ++i)
        std::printf("[%s]", argv[i]);
    std::printf("\n");
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
