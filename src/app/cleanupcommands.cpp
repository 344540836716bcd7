// SPDX-License-Identifier: MIT
#include "cleanupcommands.h"

#include "registeredgame.h"

#include "files/backups.h"
#include "files/pathcase.h"
#include "maintenance/command.h"
#include "maintenance/filedeletion.h"
#include "platform/platform.h"
#include "registration/shortpath.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

CleanupCommands::CleanupCommands(Platform &platform, const RegisteredGame &game, QObject *parent)
    : QObject(parent)
    , m_platform(platform)
    , m_game(game)
{
}

void CleanupCommands::deleteShaderCache(QString &shaderCachePath)
{
    // Checked before asking: a user should not confirm a deletion that cannot happen.
    if (m_game.folder.isEmpty()) {
        m_platform.warn(m_game.noFolderReason() + QStringLiteral(", so there is no shader cache to delete."));
        return;
    }
    shaderCachePath = m_game.folder + tarnwell::native(QStringLiteral("GAMEDATA/SHADERCACHE"));
    const QString shortFolder = tarnwell::shortPath(shaderCachePath);
    if (shortFolder.isEmpty() || !QFileInfo(tarnwell::resolveCase(shortFolder)).isDir()) {
        m_platform.warn(QStringLiteral("There is no shader cache folder at\n%1").arg(shaderCachePath));
        return;
    }
    if (!confirmDelete(m_platform, QStringLiteral("Delete ShaderCache?")))
        return;
    const QString folder = shaderCachePath; // the caller's may change before the command ends
    m_platform.runCommand(tarnwell::deleteAllFilesCommand(shortFolder),
                          [self = QPointer<CleanupCommands>(this), folder](const tarnwell::CommandOutcome &outcome) {
        if (self)
            self->m_platform.messageBox(tarnwell::folderDeletionReport(folder, outcome.deletion),
                                        outcome.deletion.ok() ? Platform::Information : Platform::Exclamation);
    });
}

void CleanupCommands::deleteGraphicsSettings(const QString &path, const QString &restoreShortcut)
{
    if (path.isEmpty()) { // formed only from a known game folder
        m_platform.warn(m_game.noFolderReason() + QStringLiteral(", so there is no graphics settings file to delete."));
        return;
    }
    if (!m_platform.fileExists(path)) {
        m_platform.warn(QStringLiteral("The graphics settings file is already gone:\n%1").arg(path));
        return;
    }
    if (!confirmDelete(m_platform, QStringLiteral("Delete All Graphics Settings?")))
        return;
    // Never a delete without a copy to undo it with.
    const tarnwell::BackupResult backup = tarnwell::backUpFile(m_platform.backupFolder(),
                                                               tarnwell::resolveCase(path));
    if (!backup.ok()) {
        m_platform.warn(QStringLiteral("%1\n\n%2 It was not deleted.").arg(path, backup.problem));
        return;
    }
    m_platform.runCommand(tarnwell::deleteFileCommand(path),
                          [self = QPointer<CleanupCommands>(this), path, backup, restoreShortcut](
                              const tarnwell::CommandOutcome &outcome) {
        if (!self)
            return;
        if (!outcome.deletion.ok()) {
            self->m_platform.warn(QStringLiteral("The graphics settings file was not deleted:\n%1\n\n%2.")
                                      .arg(path, outcome.deletion.failures.value(0).reason));
            return;
        }
        emit self->graphicsSettingsDeleted();
        self->m_platform.messageBox(
            QStringLiteral("Deleted the graphics settings file\n%1\n\nA copy of it is kept as\n%2\n\nTo put it back, "
                           "choose Restore... from the window's right-click menu, or press %3.")
                .arg(path, QDir::toNativeSeparators(backup.file), restoreShortcut),
            Platform::Information);
    });
}
