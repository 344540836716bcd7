// SPDX-License-Identifier: MIT
#include "cliexec.h"

#include "cliconsole.h"
#include "maintenance/programstart.h"

#include <string>

#include <windows.h>

namespace tarnwell::cli {

namespace {

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
        line += (line.empty() ? L"" : L" ") + windowsArgument(word);
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
