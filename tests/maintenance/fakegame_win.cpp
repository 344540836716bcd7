// SPDX-License-Identifier: MIT
// A stand-in for the game's QVX.EXE on Windows: it leaves a file "started" in its working folder and,
// given a number of seconds, stays in the process list that long.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    HANDLE note = CreateFileW(L"started", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (note != INVALID_HANDLE_VALUE)
        CloseHandle(note);
    Sleep(DWORD(std::atoi(arguments)) * 1000);
    return 0;
}
