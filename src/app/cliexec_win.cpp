// SPDX-License-Identifier: MIT
#include "cliexec.h"

#include "cliconsole.h"

#include <string>

#include <windows.h>

namespace tarnwell::cli {

namespace {

// One argument as the C runtime of the command will read it back: quoted when it holds a blank, a
// tab or a quote (or is empty), quotes escaped, and backslashes doubled only where a quote follows.
std::wstring quoted(const QString &argument)
{
    const std::wstring word = argument.toStdWString();
    if (!word.empty() && word.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return word;
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : word) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        result.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, L'\\');
    return result + L"\"";
}

void inheritStandardHandles()
{
    for (const DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = GetStdHandle(which);
        if (handle && handle != INVALID_HANDLE_VALUE)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
}

} // namespace

int runInstead(int argc, char *argv[], int first, const QStringList &words)
{
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    Q_UNUSED(first);
    std::wstring line;
    for (const QString &word : words)
        line += (line.empty() ? L"" : L" ") + quoted(word);
    inheritStandardHandles();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    // No shell: the system starts the program itself, found as it finds any (its folder, PATH).
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
        const DWORD error = GetLastError();
        console::writeErr(QStringLiteral("tarnwell: cannot run %1: %2\n")
                              .arg(words.value(0), qt_error_string(int(error))));
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 127 : 126;
    }
    CloseHandle(process.hThread);
    // Ctrl+C in the console is the command's to answer: this process waits on for its exit status.
    SetConsoleCtrlHandler(nullptr, TRUE);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return int(code);
}

} // namespace tarnwell::cli
