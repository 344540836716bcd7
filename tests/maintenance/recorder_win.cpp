// SPDX-License-Identifier: MIT
// Windows: the wide command line, split as the system splits it, and the wide environment, in UTF-8:
// the ANSI ones would lose what the code page cannot hold.
#include "recorder.h"

#include <windows.h>
#include <shellapi.h>

namespace {

std::string utf8(const wchar_t *text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string result(size > 0 ? size - 1 : 0, '\0');
    if (size > 1)
        WideCharToMultiByte(CP_UTF8, 0, text, -1, result.data(), size, nullptr, nullptr);
    return result;
}

} // namespace

std::vector<std::string> recorderArguments(int, char **)
{
    int count = 0;
    wchar_t **words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words && i < count; ++i)
        arguments.push_back(utf8(words[i]));
    LocalFree(words);
    return arguments;
}

std::string recorderVariable()
{
    wchar_t value[4096];
    const DWORD size = GetEnvironmentVariableW(L"TW_VAR", value, 4096);
    return size > 0 && size < 4096 ? utf8(value) : std::string();
}
