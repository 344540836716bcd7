// SPDX-License-Identifier: MIT
// Launch and clean-up commands, the author's links and the banner.
#include "form1.h"

#include "files/backups.h"
#include "links/bannerloader.h"
#include "links/links.h"
#include "maintenance/command.h"
#include "maintenance/filedeletion.h"
#include "maintenance/gameprocess.h"
#include "maintenance/steamlaunch.h"
#include "files/pathcase.h"
#include "platform/platform.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

void Form1::Command2_Click()
{
    // Starting a missing or empty path would at best do nothing and at worst open something else.
    if (GameExePath.isEmpty()) {
        warn(QStringLiteral("No Quillvane QVX.EXE is registered yet, so there is nothing to launch."));
        return;
    }
    const QString shortPath = ShortPath(GameExePath);
    if (shortPath.isEmpty() || !m_platform.fileExists(shortPath)) {
        warn(QStringLiteral("Quillvane QVX.EXE is no longer there:\n%1").arg(GameExePath));
        return;
    }
    if (tarnwell::isGameRunning(GameExePath)) {
        m_platform.messageBox(QStringLiteral("Quillvane is already running, so it was not started again."),
                              Platform::Information);
        return;
    }
    if (launchChosenWay(shortPath))
        return;
    const tarnwell::LaunchPlan plan = tarnwell::planLaunch(shortPath, GameFolder);
    if (plan.kind == tarnwell::LaunchPlan::NeedsCompatibilityLayer) {
        warn(QStringLiteral("%1\n\nThis is a Windows program, which this system cannot start by itself. It needs Steam "
                            "or another compatibility layer to run: right-click Launch and choose Launch with... to "
                            "start it through one.")
                 .arg(GameExePath));
        return;
    }
    const tarnwell::Command command = plan.kind == tarnwell::LaunchPlan::Steam
        ? tarnwell::openAddressCommand(QStringLiteral("steam://rungameid/") + plan.appId)
        : tarnwell::launchCommand(shortPath);
    startGame(command);
}

void Form1::startGame(const tarnwell::Command &command)
{
    m_platform.runCommand(command, [self = QPointer<Form1>(this), command](const tarnwell::CommandOutcome &outcome) {
        if (self && !outcome.started)
            self->warn(QStringLiteral("Quillvane could not be started:\n%1\n\n%2").arg(command.operand, outcome.error));
    });
}

void Form1::Command5_Click()
{
    // Checked before asking: a user should not confirm a deletion that cannot happen.
    if (GameFolder.isEmpty()) {
        warn(noGameFolderReason() + QStringLiteral(", so there is no shader cache to delete."));
        return;
    }
    ShaderCachePath = GameFolder + tarnwell::native(QStringLiteral("GAMEDATA/SHADERCACHE"));
    const QString shortFolder = ShortPath(ShaderCachePath);
    if (shortFolder.isEmpty() || !QFileInfo(tarnwell::resolveCase(shortFolder)).isDir()) {
        warn(QStringLiteral("There is no shader cache folder at\n%1").arg(ShaderCachePath));
        return;
    }
    if (!confirm(QStringLiteral("Delete ShaderCache?")))
        return;
    const QString folder = ShaderCachePath;
    m_platform.runCommand(tarnwell::deleteAllFilesCommand(shortFolder),
                          [self = QPointer<Form1>(this), folder](const tarnwell::CommandOutcome &outcome) {
        if (self)
            self->m_platform.messageBox(tarnwell::folderDeletionReport(folder, outcome.deletion),
                                        outcome.deletion.ok() ? Platform::Information : Platform::Exclamation);
    });
}

void Form1::Command6_Click()
{
    if (GraphicsSettingsPath.isEmpty()) { // formed only from a known game folder
        warn(noGameFolderReason() + QStringLiteral(", so there is no graphics settings file to delete."));
        return;
    }
    if (!m_platform.fileExists(GraphicsSettingsPath)) {
        warn(QStringLiteral("The graphics settings file is already gone:\n%1").arg(GraphicsSettingsPath));
        return;
    }
    if (!confirm(QStringLiteral("Delete All Graphics Settings?")))
        return;
    // Never a delete without a copy to undo it with.
    const tarnwell::BackupResult backup = tarnwell::backUpFile(m_platform.backupFolder(),
                                                               tarnwell::resolveCase(GraphicsSettingsPath));
    if (!backup.ok()) {
        warn(QStringLiteral("%1\n\n%2 It was not deleted.").arg(GraphicsSettingsPath, backup.problem));
        return;
    }
    const QString restore = m_restoreAction->shortcut().toString(QKeySequence::NativeText);
    m_platform.runCommand(tarnwell::deleteFileCommand(GraphicsSettingsPath),
                          [self = QPointer<Form1>(this), path = GraphicsSettingsPath, backup, restore](
                              const tarnwell::CommandOutcome &outcome) {
        if (!self)
            return;
        if (!outcome.deletion.ok()) {
            self->warn(QStringLiteral("The graphics settings file was not deleted:\n%1\n\n%2.")
                           .arg(path, outcome.deletion.failures.value(0).reason));
            return;
        }
        self->m_platform.messageBox(
            QStringLiteral("Deleted the graphics settings file\n%1\n\nA copy of it is kept as\n%2\n\nTo put it back, "
                           "choose Restore... from the window's right-click menu, or press %3.")
                .arg(path, QDir::toNativeSeparators(backup.file), restore),
            Platform::Information);
    });
}

bool Form1::confirm(const QString &question)
{
    // What the running game would write again on exit is not deleted by a mere Enter.
    const Platform::MessageOptions safe = !GameExePath.isEmpty() && tarnwell::isGameRunning(GameExePath)
        ? Platform::DefaultNo
        : Platform::OkOnly;
    return m_platform.messageBox(question, Platform::YesNo | safe, question) == Platform::Yes;
}

void Form1::Image_Click(int index)
{
    const QString address = tarnwell::links::imageAddress(index);
    if (!address.isEmpty())
        m_platform.runCommand(tarnwell::openAddressCommand(address));
}

void Form1::Label20_Click()
{
    m_platform.runCommand(tarnwell::openAddressCommand(tarnwell::links::homePage()));
}

void Form1::startBanner()
{
    if (m_bannerStarted)
        return;
    m_bannerStarted = true;
    // The web engine is heavy: it comes in from its own module once the window has been painted.
    tarnwell::links::loadBannerAfterFirstPaint(m_platform.programFolder(), WebBrowser1,
                                               tarnwell::links::bannerAddress());
}
