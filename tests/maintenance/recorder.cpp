// SPDX-License-Identifier: MIT
// Writes "recorded" in its working folder: each argument in brackets, a line feed, TW_VAR and a line
// feed, so that a test sees exactly the words and the environment a launch gave it.
#include "recorder.h"

#include <cstdio>

int main(int argc, char **argv)
{
    std::string note;
    for (const std::string &argument : recorderArguments(argc, argv))
        note += '[' + argument + ']';
    note += '\n' + recorderVariable() + '\n';
    std::FILE *file = std::fopen("recorded", "wb");
    if (!file)
        return 1;
    const bool written = std::fwrite(note.data(), 1, note.size(), file) == note.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
