// SPDX-License-Identifier: MIT
// The running game on Windows: the full image path of every process in the process list.
#include "maintenance/gameprocess.h"

#include <QFileInfo>

#include <iterator>

#include <windows.h>
#include <tlhelp32.h>

namespace tarnwell {

bool isGameRunning(const QString &exePath)
{
    if (exePath.isEmpty())
        return false;
    const QString name = QFileInfo(exePath).fileName();
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    const DWORD self = GetCurrentProcessId();
    bool running = false;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !running; more = Process32NextW(snapshot, &entry)) {
        // Only a process whose image has the executable's name needs opening.
        if (entry.th32ProcessID == self
            || QString::fromWCharArray(entry.szExeFile).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process)
            continue;
        wchar_t image[32768];
        DWORD size = DWORD(std::size(image));
        if (QueryFullProcessImageNameW(process, 0, image, &size))
            running = sameWindowsPath(QString::fromWCharArray(image, int(size)), exePath);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
    return running;
}

} // namespace tarnwell
