// SPDX-License-Identifier: MIT
#include "cliconsole.h"

#include <cstdio>
#include <string_view>

#include <windows.h>

namespace tarnwell::console {

namespace {

// True when the stream already goes somewhere: a file, a pipe, a console given at the start.
bool leadsSomewhere(DWORD which)
{
    const HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// The console's own handle for a stream, inheritable so that a command started later writes there too.
void takeConsole(DWORD which, const wchar_t *device, std::FILE *stream, const char *mode)
{
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE handle = CreateFileW(device, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inherit, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return;
    SetStdHandle(which, handle);
    static_cast<void>(std::freopen(device == std::wstring_view(L"CONIN$") ? "CONIN$" : "CONOUT$", mode, stream));
}

} // namespace

void attach()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const bool out = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool err = leadsSomewhere(STD_ERROR_HANDLE);
    const bool in = leadsSomewhere(STD_INPUT_HANDLE);
    if ((out && err && in) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!out)
        takeConsole(STD_OUTPUT_HANDLE, L"CONOUT$", stdout, "w");
    if (!err)
        takeConsole(STD_ERROR_HANDLE, L"CONOUT$", stderr, "w");
    if (!in)
        takeConsole(STD_INPUT_HANDLE, L"CONIN$", stdin, "r");
}

void writeOut(QByteArrayView bytes)
{
    attach();
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void writeErr(const QString &text)
{
    attach();
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
}

} // namespace tarnwell::console
