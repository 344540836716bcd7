// SPDX-License-Identifier: MIT
// A program that notes how it was started: the launch tests run it in place of a user's tools.
#pragma once

#include <string>
#include <vector>

// Its arguments after its own name, and the variable TW_VAR, in UTF-8 (empty when unset).
std::vector<std::string> recorderArguments(int argc, char **argv);
std::string recorderVariable();
