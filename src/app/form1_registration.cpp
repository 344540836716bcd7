// SPDX-License-Identifier: MIT
// Registering the game's executable: configuration file, version check and picker.
#include "form1.h"

#include "accessibility.h"
#include "executablepicker.h"

#include "files/openfile.h"
#include "files/pathcase.h"
#include "files/toolfiles.h"
#include "platform/platform.h"
#include "registration/gamefolder.h"
#include "registration/configfile.h"
#include "registration/digest.h"
#include "registration/executablecheck.h"
#include "registration/folderlist.h"
#include "registration/shortpath.h"
#include "registration/versionlist.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QDir>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>

namespace {

QString configPath(const Platform &platform)
{
    return tarnwell::configFilePath(platform.programFolder());
}

} // namespace

void Form1::connectPicker()
{
    connect(m_picker, &ExecutablePicker::chosen, this, &Form1::offerExecutable);
    m_picker->start();
}

void Form1::LoadSettings()
{
    const QString path = configPath(m_platform);
    // Read whatever stands there, so that something that is no file is reported, not passed over.
    const tarnwell::StoredPath stored = tarnwell::readStoredPath(path);
    switch (stored.status) {
    case tarnwell::StoredPath::Status::Found:
        GameExePath = stored.path;
        break;
    case tarnwell::StoredPath::Status::Failed:
        warn(QStringLiteral("Cannot read %1: %2.").arg(path, stored.error));
        break;
    case tarnwell::StoredPath::Status::Empty:
    case tarnwell::StoredPath::Status::Missing:
        break;
    }
    Validate_QVXEXE();
}

void Form1::SaveSettings()
{
    const QString path = configPath(m_platform);
    const QString error = tarnwell::writeStoredPath(path, GameExePath);
    if (!error.isEmpty())
        warn(QStringLiteral("Cannot save the game's path to %1: %2.\nIt will have to be chosen again at the next start.")
                 .arg(path, error));
    else
        rememberExecutable();
}

void Form1::Validate_QVXEXE()
{
    checkExecutable(GameExePath, tarnwell::ExecutableCheck::Origin::Registered);
}

void Form1::checkExecutable(const QString &path, tarnwell::ExecutableCheck::Origin origin)
{
    // The window takes the choice on once the check has its snapshot of what stood before it.
    const auto adopt = [this, &path, origin] {
        GameExePath = path;
        if (origin == tarnwell::ExecutableCheck::Origin::Picker)
            setOuterWidthTwips(kCheckingWidthTwips);
    };
    if (!m_platform.fileExists(path)) {
        adopt();
        // Something that is no file stands there (a folder, a pipe): said rather than passed over.
        const QString odd = tarnwell::notRegularReason(tarnwell::resolveCase(path));
        if (!odd.isEmpty())
            executableUnreadable(odd);
        return;
    }
    VersionListPath = tarnwell::versionListPath(m_platform.programFolder());
    // Something that is no file in its place is reported when it is read, like an unreadable file.
    if (!m_platform.fileExists(VersionListPath)
        && tarnwell::notRegularReason(tarnwell::resolveCase(VersionListPath)).isEmpty()) {
        adopt();
        m_platform.messageBox(QStringLiteral("Fatal Error: QVX.dat verification missing. Reinstall Tarnwell"),
                              Platform::OkOnly);
        m_platform.closeWindow(this);
        return;
    }
    const QString shortExe = ShortPath(path);
    if (shortExe.isEmpty()) {
        adopt();
        executableUnreadable(QStringLiteral("the file is no longer there"));
        return;
    }
    m_exeCheck->begin(shortExe, origin);
    adopt();
    setSettingsEnabled(false);
    setCursor(Qt::BusyCursor);
    showCheckProgress(m_exeCheck->percent());
}

void Form1::showCheckProgress(int percent)
{
    showStatus(QStringLiteral("Checking the game executable: %1%").arg(percent));
    if (m_checkDialog)
        m_checkDialog->setValue(percent);
}

void Form1::finishCheck(const tarnwell::ExecutableCheck::Result &result)
{
    if (m_checkDialog)
        m_checkDialog->reset();
    unsetCursor();
    setSettingsEnabled(true);
    const bool fromPicker = result.origin == tarnwell::ExecutableCheck::Origin::Picker;
    // The progress goes; the caption it stood in for comes back unless a version is found.
    showStatus(result.before.status);
    if (result.digest.cancelled) {
        // A choice given up registers nothing: everything is as it was before it.
        GameExePath = result.before.exePath;
        if (fromPicker)
            setOuterWidthTwips(result.before.widthTwips > 0 ? result.before.widthTwips : kPickerWidthTwips);
        if (result.recheck)
            Validate_QVXEXE();
        return;
    }
    if (!result.digest.ok())
        executableUnreadable(result.digest.error);
    else
        showVersionAndRead(result.digest.hex);
    if (fromPicker) {
        SaveSettings(); // also for an unknown version, and for a file that could not be read
        // The picker that had the focus is gone; the settings of the new game come next.
        command(1)->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::showVersionAndRead(const QString &hex)
{
    const tarnwell::VersionList list = tarnwell::readVersionList(VersionListPath);
    if (!list.error.isEmpty())
        warn(QStringLiteral("Cannot read the known-versions file %1: %2.").arg(VersionListPath, list.error));
    const std::optional<QString> name = tarnwell::findVersionName(list.lines, hex.toLower());
    showStatus(name ? *name + QStringLiteral(" Detected!")
                    : QStringLiteral("Unknown Quillvane Version! MD5: ") + hex.toUpper());

    setOuterWidthTwips(kSettingsWidthTwips);
    const QString folder = tarnwell::gameFolderOf(GameExePath);
    if (folder.isEmpty()) {
        // No folder is left to hold the settings; reading would look beside the working folder instead.
        const QString why = QStringLiteral("No game folder can be found from %1: the executable must lie in the game "
                                           "folder as %2")
                                .arg(GameExePath, tarnwell::native(QStringLiteral("Binaries/QVX.EXE")));
        forgetGameFolder(why);
        warn(why + QStringLiteral(".\nNo settings were read."));
        return;
    }
    GameFolder = folder;
    m_gameFolderProblem.clear();
    ReadConfig();
}

void Form1::showStatus(const QString &caption)
{
    label(22)->setText(caption);
    label(22)->adjustSize();
    accessibility::announceValue(label(22), caption);
}

void Form1::executableUnreadable(const QString &why)
{
    // No release is known for the executable registered now, whatever the caption said of another.
    showStatus(QStringLiteral("Not Set"));
    warn(QStringLiteral("Cannot read the game executable %1: %2.").arg(GameExePath, why));
    // A game chosen before is no longer the one registered.
    forgetGameFolder(QStringLiteral("The game executable %1 could not be read (%2)").arg(GameExePath, why));
}

void Form1::forgetGameFolder(const QString &why)
{
    GameFolder.clear();
    m_gameFolderProblem = why;
    ReadConfig(); // no folder: the paths and lines are emptied
}

QString Form1::noGameFolderReason() const
{
    if (GameExePath.isEmpty())
        return QStringLiteral("No Quillvane QVX.EXE has been chosen yet");
    if (!m_gameFolderProblem.isEmpty())
        return m_gameFolderProblem;
    return QStringLiteral("Quillvane QVX.EXE is no longer there: %1").arg(GameExePath);
}

QString Form1::ShortPath(const QString &strFilename) const
{
    return tarnwell::shortPath(strFilename);
}

QString Form1::CalcMD5(const QString &path) const
{
    return tarnwell::md5OfFile(path).hex;
}

void Form1::Drive1_Change()
{
    m_picker->driveChanged();
}

void Form1::Dir1_Change()
{
    m_picker->folderChanged();
}

void Form1::File1_Click()
{
    m_picker->fileClicked();
}

void Form1::offerExecutable(const QString &path, const QString &name)
{
    // The one-line configuration file could not give such a path back: never stored, never asked about.
    if (const QString problem = tarnwell::storedPathProblem(path); !problem.isEmpty()) {
        warn(QStringLiteral("%1\ncannot be registered: %2, which Tarnwell cannot store. Rename the folder or the file "
                            "and choose it again.")
                 .arg(path, problem));
        return;
    }
    if (m_platform.messageBox(QStringLiteral("Set File: ") + name, Platform::YesNo, QStringLiteral("Set this file?"))
        != Platform::Yes)
        return;
    registerExecutable(path, name);
}

void Form1::registerExecutable(const QString &path, const QString &name)
{
    // A check still running (of the executable found at start-up) is given up for this one, and taken
    // up again should this one be given up.
    checkExecutable(path, tarnwell::ExecutableCheck::Origin::Picker);
    if (!isChecking()) {
        SaveSettings(); // also for an unknown version, and after a fatal check
        command(1)->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Saved once the check has finished; a check given up registers nothing.
    if (!m_checkDialog) {
        m_checkDialog = new QProgressDialog(this);
        m_checkDialog->setWindowModality(Qt::WindowModal);
        m_checkDialog->setWindowTitle(QStringLiteral("Tarnwell"));
        m_checkDialog->setMinimumDuration(400);
        m_checkDialog->setRange(0, 100);
        m_checkDialog->setAutoReset(false);
        m_checkDialog->setAutoClose(false);
        connect(m_checkDialog, &QProgressDialog::canceled, m_exeCheck, &tarnwell::ExecutableCheck::cancel);
    }
    m_checkDialog->setLabelText(QStringLiteral("Checking %1 ...").arg(name));
    m_checkDialog->setValue(0);
}

void Form1::Label1_Click()
{
    // Once a game is known, a second click puts the picker away again.
    if (m_outerWidthTwips == kPickerWidthTwips && !GameFolder.isEmpty()) {
        setOuterWidthTwips(kSettingsWidthTwips);
        return;
    }
    setOuterWidthTwips(kPickerWidthTwips);
    const QFileInfo exe(tarnwell::resolveCase(GameExePath));
    if (!GameExePath.isEmpty() && exe.absoluteDir().exists())
        m_picker->openFolder(exe.absolutePath());
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!ExecutablePicker::droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QString path = ExecutablePicker::droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    offerExecutable(path, QFileInfo(path).fileName());
}

