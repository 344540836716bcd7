// SPDX-License-Identifier: MIT
// Starts the window as the program does, for an installed tree given by its program folder, with
// nobody there to answer: prints every message box and what the window then shows, and exits.
// Usage: tarnwell_startcheck PROGRAM_FOLDER (run it with QT_QPA_PLATFORM=offscreen)
#include "files/toolfiles.h"
#include "form1.h"
#include "platform/desktopplatform.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include <cstdio>

namespace {

void print(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
}

class UnattendedPlatform : public DesktopPlatform
{
public:
    explicit UnattendedPlatform(const QString &folder) : m_folder(folder) {}
    QString programFolder() const override { return m_folder; }
    Answer messageBox(const QString &prompt, MessageOptions options, const QString &) override
    {
        print(QStringLiteral("message: ") + prompt);
        return options.testFlag(YesNo) ? No : Ok;
    }
    int question(const QString &prompt, const QStringList &buttons, const QString &) override
    {
        print(QStringLiteral("question: ") + prompt);
        return int(buttons.size()) - 1;
    }

private:
    QString m_folder;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: tarnwell_startcheck PROGRAM_FOLDER\n", stderr);
        return 2;
    }
    UnattendedPlatform platform(QDir::toNativeSeparators(QString::fromLocal8Bit(argv[1])));
    print(QStringLiteral("configuration: ") + tarnwell::configFilePath(platform.programFolder()));
    Form1 form(platform);
    form.Form_Load();
    form.show(); // the start-up check begins once the window has been painted
    while (form.isChecking()) // the executable's digest runs beside the window
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    print(QStringLiteral("known versions: ") + form.VersionListPath);
    print(QStringLiteral("status: ") + form.label(22)->text());
    print(QStringLiteral("brightness: ") + form.text(3)->text());
    print(QStringLiteral("resolution: ") + form.combo(1)->currentText());
    return 0;
}
