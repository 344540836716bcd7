// SPDX-License-Identifier: MIT
// Windows: CreateProcessW itself, so that a program that cannot start is reported with the system's
// own words for it (GetLastError), not Qt's "Process failed to start".
#include "maintenance/programstart.h"

#include "files/programs.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

#include <windows.h>

#include <string>

namespace tarnwell {

namespace {

// The system's words for an error; "%1" in them is the program's name.
QString systemMessage(DWORD code, const QString &program)
{
    wchar_t *text = nullptr;
    const DWORD size = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                          | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    QString message = size != 0 ? QString::fromWCharArray(text, int(size)).trimmed() : QString();
    LocalFree(text);
    if (message.isEmpty())
        return QStringLiteral("Windows error %1").arg(code);
    return message.replace(QStringLiteral("%1"), QFileInfo(program).fileName());
}

// The tool's environment with the command's NAME=value settings, as CreateProcessW takes it.
std::wstring environmentBlock(const QStringList &settings)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &setting : settings)
        environment.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    QStringList names = environment.keys();
    names.sort(Qt::CaseInsensitive); // the order Windows keeps its own blocks in
    std::wstring block;
    for (const QString &name : names) {
        block += (name + u'=' + environment.value(name)).toStdWString();
        block += L'\0';
    }
    block += L'\0';
    return block;
}

} // namespace

std::wstring windowsArgument(const QString &argument)
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
    result.append(backslashes * 2, L'\\'); // before the closing quote
    return result + L"\"";
}

CommandOutcome startProgram(const Command &command)
{
    const QString &path = command.operand;
    if (path.isEmpty())
        return {false, QStringLiteral("no program was named"), {}};
    // A batch file runs through the command interpreter, which would read its arguments.
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("bat"), Qt::CaseInsensitive) == 0
        || suffix.compare(QLatin1String("cmd"), Qt::CaseInsensitive) == 0)
        return {false, QStringLiteral("it is a batch file, which only the command interpreter runs"), {}};
    // A bare name is looked for by the system; a path runs in its own folder.
    const bool named = !path.contains(u'/') && !path.contains(u'\\');
    const QString program = programPath(path, command.folder);
    const QString folder = !command.folder.isEmpty() ? command.folder : named ? QString() : QFileInfo(program).absolutePath();
    std::wstring line = windowsArgument(program);
    for (const QString &argument : command.arguments)
        line += L' ' + windowsArgument(argument);
    const std::wstring application = program.toStdWString();
    const std::wstring workingFolder = QDir::toNativeSeparators(folder).toStdWString();
    std::wstring environment = command.environment.isEmpty() ? std::wstring() : environmentBlock(command.environment);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Detached: nothing is inherited, and the game outlives the tool.
    if (!CreateProcessW(named ? nullptr : application.c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_UNICODE_ENVIRONMENT, environment.empty() ? nullptr : environment.data(),
                        folder.isEmpty() ? nullptr : workingFolder.c_str(), &startup, &process))
        return {false, systemMessage(GetLastError(), program), {}};
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

} // namespace tarnwell
