// SPDX-License-Identifier: MIT
// Windows: the shell opens the address with its registered handler and says whether it could, in the
// system's words. Asked directly rather than through Qt, whose answer depends on the window
// platform (none on a headless one) and carries no reason.
#include "maintenance/urlopener.h"

#include "files/background.h"

#include <QCoreApplication>
#include <QString>

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

namespace tarnwell {

namespace {

QString systemMessage(DWORD code)
{
    wchar_t *text = nullptr;
    const DWORD size = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                          | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString message = size != 0 ? QString::fromWCharArray(text, int(size)).trimmed() : QString();
    LocalFree(text);
    return message;
}

} // namespace

void openAddress(const QString &address, const AddressOpened &done)
{
    struct Outcome {
        bool opened = false;
        QString error;
    };
    // The shell may take its time (a handler that starts slowly, a path on a share): beside the window.
    runBeside<Outcome>(
        QCoreApplication::instance(),
        [address](Job &) {
            // Handlers may be shell extensions, which want COM on the calling thread.
            const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
            const std::wstring file = address.toStdWString();
            SHELLEXECUTEINFOW open{};
            open.cbSize = sizeof open;
            open.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
            open.lpFile = file.c_str();
            open.nShow = SW_SHOWNORMAL;
            const bool opened = ShellExecuteExW(&open);
            const DWORD error = opened ? ERROR_SUCCESS : GetLastError();
            if (SUCCEEDED(com))
                CoUninitialize();
            if (opened)
                return Outcome{true, {}};
            // An address is no file: "not found" means that nothing handles its kind of address.
            const bool unhandled = error == ERROR_NO_ASSOCIATION || error == ERROR_FILE_NOT_FOUND
                || error == ERROR_PATH_NOT_FOUND;
            const QString reason = systemMessage(error);
            return Outcome{false, unhandled || reason.isEmpty() ? QStringLiteral("no program on this system opens it")
                                                                : reason};
        },
        [done](const Outcome &outcome) { done(outcome.opened, outcome.error); });
}

} // namespace tarnwell
