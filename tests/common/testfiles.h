// SPDX-License-Identifier: MIT
// Whole files as tests read and write them, with Qt Core alone.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace testsupport {

inline QByteArray readFile(const QString &path) // "<unreadable>" when it cannot be read
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

[[nodiscard]] inline bool writeFile(const QString &path, const QByteArray &bytes = "x") // folders made on the way
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

#ifdef Q_OS_WIN
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

// A path as the program shows it in messages and lists: with the system's separators.
inline QString nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace testsupport
