// SPDX-License-Identifier: MIT
// Launch and clean-up commands, the author's links and the banner.
#include "form1.h"

#include "links/bannerloader.h"
#include "links/links.h"
#include "maintenance/command.h"
#include "files/pathcase.h"
#include "platform/platform.h"

#include <QFileInfo>

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
    m_platform.runCommand(tarnwell::launchCommand(shortPath));
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
    m_platform.runCommand(tarnwell::deleteAllFilesCommand(shortFolder));
}

void Form1::Command6_Click()
{
    if (GameFolder.isEmpty() || GraphicsSettingsPath.isEmpty()) {
        warn(noGameFolderReason() + QStringLiteral(", so there is no graphics settings file to delete."));
        return;
    }
    if (!m_platform.fileExists(GraphicsSettingsPath)) {
        warn(QStringLiteral("The graphics settings file is already gone:\n%1").arg(GraphicsSettingsPath));
        return;
    }
    if (!confirm(QStringLiteral("Delete All Graphics Settings?")))
        return;
    m_platform.runCommand(tarnwell::deleteFileCommand(GraphicsSettingsPath));
}

bool Form1::confirm(const QString &question)
{
    return m_platform.messageBox(question, Platform::YesNo, question) == Platform::Yes;
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
