// SPDX-License-Identifier: MIT
// Unix: the arguments and the environment as the program got them.
#include "recorder.h"

#include <cstdlib>

std::vector<std::string> recorderArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

std::string recorderVariable()
{
    const char *value = std::getenv("TW_VAR");
    return value ? value : "";
}
