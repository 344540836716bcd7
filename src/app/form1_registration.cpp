// SPDX-License-Identifier: MIT
// Registering the game's executable: configuration file, version check and picker.
#include "form1.h"

#include "accessibility.h"
#include "folderrowdelegate.h"

#include "files/openfile.h"
#include "files/pathcase.h"
#include "files/toolfiles.h"
#include "platform/platform.h"
#include "registration/configfile.h"
#include "registration/digest.h"
#include "registration/digesttask.h"
#include "registration/folderlist.h"
#include "registration/shortpath.h"
#include "registration/versionlist.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QStyle>
#include <QUrl>

namespace {

// "Binaries" + separator + "QVX.EXE": what lies between the game folder and the executable.
constexpr qsizetype kExeTailLength = 16;

QString configPath(const Platform &platform)
{
    return tarnwell::configFilePath(platform.programFolder());
}

} // namespace

void Form1::connectPicker()
{
    connect(Drive1, &QComboBox::activated, this, [this] {
        m_pickerMoved = true;
        Drive1_Change();
    });
    connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        m_pickerMoved = true;
        openFolder(item->data(Qt::UserRole).toString());
    });
    // A mouse click asks at once; from the keyboard, Enter asks, so that moving through the list does not.
    connect(File1, &QListWidget::itemClicked, this, [this] { File1_Click(); });
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), File1, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            if (File1->currentItem())
                File1_Click();
        });
    }
    fillDrives();
    // The home folder, or the first drive where there is none to open; nothing to report either way.
    const QString home = QDir::homePath();
    openFolder(tarnwell::folderProblem(home).isEmpty() ? home : Drive1->itemData(0).toString());
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
    if (!m_platform.fileExists(GameExePath)) {
        // Something that is no file stands there (a folder, a pipe): said rather than passed over.
        const QString odd = tarnwell::notRegularReason(tarnwell::resolveCase(GameExePath));
        if (!odd.isEmpty())
            executableUnreadable(odd);
        return;
    }
    VersionListPath = tarnwell::versionListPath(m_platform.programFolder());
    // Something that is no file in its place is reported when it is read, like an unreadable file.
    if (!m_platform.fileExists(VersionListPath)
        && tarnwell::notRegularReason(tarnwell::resolveCase(VersionListPath)).isEmpty()) {
        m_platform.messageBox(QStringLiteral("Fatal Error: QVX.dat verification missing. Reinstall Tarnwell"),
                              Platform::OkOnly);
        m_platform.closeWindow(this);
        return;
    }

    const QString shortExe = ShortPath(GameExePath);
    if (shortExe.isEmpty()) {
        executableUnreadable(QStringLiteral("the file is no longer there"));
        return;
    }
    startCheck(shortExe);
}

void Form1::startCheck(const QString &shortExe)
{
    // A newer choice replaces a check still running; its result no longer matters.
    if (m_digest) {
        m_digest->disconnect(this);
        m_digest.release()->deleteLater();
    } else {
        m_beforeCheck = {GameExePath, label(22)->text(), m_outerWidthTwips, false};
    }
    m_checkFromPicker = false; // a choice in the picker says so once the check has started
    m_digest = std::make_unique<tarnwell::DigestTask>(shortExe);
    connect(m_digest.get(), &tarnwell::DigestTask::finished, this, &Form1::finishCheck);
    setSettingsEnabled(false);
    setCursor(Qt::BusyCursor);
    m_digest->start();
    m_checkProgress->start();
    showCheckProgress();
}

void Form1::showCheckProgress()
{
    if (!m_digest)
        return;
    const qint64 total = m_digest->total();
    const int percent = total > 0 ? int(m_digest->done() * 100 / total) : 0;
    showStatus(QStringLiteral("Checking the game executable: %1%").arg(percent));
    if (m_checkDialog)
        m_checkDialog->setValue(percent);
}

void Form1::cancelCheck()
{
    if (m_digest)
        m_digest->cancel();
}

void Form1::finishCheck()
{
    const tarnwell::FileDigest digest = m_digest->result();
    m_digest.release()->deleteLater(); // it is the sender of this very call
    m_checkProgress->stop();
    if (m_checkDialog)
        m_checkDialog->reset();
    unsetCursor();
    setSettingsEnabled(true);
    const bool fromPicker = std::exchange(m_checkFromPicker, false);
    // The progress goes; the caption it stood in for comes back unless a version is found.
    showStatus(m_beforeCheck.status);
    if (digest.cancelled) {
        // A choice given up registers nothing: everything is as it was before it.
        GameExePath = m_beforeCheck.exePath;
        if (fromPicker)
            setOuterWidthTwips(m_beforeCheck.widthTwips > 0 ? m_beforeCheck.widthTwips : 11000);
        if (std::exchange(m_beforeCheck.recheck, false))
            Validate_QVXEXE();
        return;
    }
    if (!digest.ok())
        executableUnreadable(digest.error);
    else
        showVersionAndRead(digest.hex);
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

    setOuterWidthTwips(8100);
    if (GameExePath.size() <= kExeTailLength) {
        // No folder is left to hold the settings; reading would look beside the working folder instead.
        const QString why = QStringLiteral("No game folder can be found from %1: the executable must lie in the game "
                                           "folder as %2")
                                .arg(GameExePath, tarnwell::native(QStringLiteral("Binaries/QVX.EXE")));
        forgetGameFolder(why);
        warn(why + QStringLiteral(".\nNo settings were read."));
        return;
    }
    GameFolder = GameExePath.left(GameExePath.size() - kExeTailLength);
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
    if (driveIsInstallation())
        return;
    const QString root = Drive1->currentData().toString();
    const QString problem = tarnwell::driveProblem(root);
    if (!problem.isEmpty()) {
        warn(QStringLiteral("Drive %1 cannot be opened: %2.").arg(root, problem));
        selectDriveOf(m_dirPath); // the lists keep the folder they showed
        return;
    }
    // The drive's current folder: the one last shown on it during this run, else its root.
    const QString current = m_driveFolders.value(root);
    openFolder(!current.isEmpty() && tarnwell::folderProblem(current).isEmpty() ? current : root);
}

void Form1::Dir1_Change()
{
    File1->clear();
    File1->addItems(tarnwell::fileNames(m_dirPath));
}

void Form1::File1_Click()
{
    const QListWidgetItem *item = File1->currentItem();
    if (item)
        offerExecutable(tarnwell::pickedPath(m_dirPath, item->text()), item->text());
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
    const bool interrupted = isChecking();
    const BeforeCheck before = interrupted ? BeforeCheck{GameExePath, m_beforeCheck.status, m_beforeCheck.widthTwips, true}
                                           : BeforeCheck{GameExePath, label(22)->text(), m_outerWidthTwips, false};
    GameExePath = path;
    setOuterWidthTwips(8000);
    Validate_QVXEXE();
    if (isChecking()) {
        // Saved once the check has finished; a check given up registers nothing.
        m_checkFromPicker = true;
        m_beforeCheck = before;
        if (!m_checkDialog) {
            m_checkDialog = new QProgressDialog(this);
            m_checkDialog->setWindowModality(Qt::WindowModal);
            m_checkDialog->setWindowTitle(QStringLiteral("Tarnwell"));
            m_checkDialog->setMinimumDuration(400);
            m_checkDialog->setRange(0, 100);
            m_checkDialog->setAutoReset(false);
            m_checkDialog->setAutoClose(false);
            connect(m_checkDialog, &QProgressDialog::canceled, this, &Form1::cancelCheck);
        }
        m_checkDialog->setLabelText(QStringLiteral("Checking %1 ...").arg(name));
        m_checkDialog->setValue(0);
        return;
    }
    SaveSettings(); // also for an unknown version, and after a fatal check
    command(1)->setFocus(Qt::OtherFocusReason);
}

void Form1::Label1_Click()
{
    // Once a game is known, a second click puts the picker away again.
    if (m_outerWidthTwips == 11000 && !GameFolder.isEmpty()) {
        setOuterWidthTwips(8100);
        return;
    }
    setOuterWidthTwips(11000);
    const QFileInfo exe(tarnwell::resolveCase(GameExePath));
    if (!GameExePath.isEmpty() && exe.absoluteDir().exists())
        openFolder(exe.absolutePath());
}

QString Form1::droppedFile(const QMimeData *data)
{
    // One local regular file: what the picker's file list would offer.
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    return QFileInfo(path).isFile() ? QDir::toNativeSeparators(path) : QString(); // no pipe, device or folder
}

void Form1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void Form1::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    offerExecutable(path, QFileInfo(path).fileName());
}

void Form1::fillDrives()
{
    Drive1->clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon); // read from the style's files: once
    for (const tarnwell::Drive &drive : tarnwell::drives())
        Drive1->addItem(icon, drive.caption, drive.root);
}

QString Form1::driveOf(const QString &folder) const
{
    QStringList roots;
    for (int i = 0; i < Drive1->count(); ++i)
        roots << Drive1->itemData(i).toString();
    return tarnwell::driveOf(roots, folder);
}

void Form1::selectDriveOf(const QString &folder)
{
    const int index = Drive1->findData(driveOf(folder));
    if (index >= 0)
        Drive1->setCurrentIndex(index);
}

bool Form1::openFolder(const QString &folder)
{
    const QString problem = tarnwell::folderProblem(folder);
    if (!problem.isEmpty()) {
        warn(QStringLiteral("The folder %1 cannot be opened: %2.").arg(folder, problem));
        return false;
    }
    m_dirPath = tarnwell::folderPath(folder);
    m_driveFolders.insert(driveOf(m_dirPath), m_dirPath);
    showFolderRows();
    selectDriveOf(m_dirPath);
    Dir1_Change();
    return true;
}

void Form1::showFolderRows()
{
    Dir1->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const tarnwell::FolderRow &row : tarnwell::folderRows(m_dirPath)) {
        // The depth is drawn as indentation, so that typing a name finds it.
        auto *item = new QListWidgetItem(row.open ? openIcon : closedIcon, row.name, Dir1);
        item->setData(Qt::UserRole, row.path);
        item->setData(FolderRowDelegate::DepthRole, row.depth);
        item->setToolTip(row.path);
        if (row.current) {
            Dir1->setCurrentItem(item);
            Dir1->scrollToItem(item);
        }
    }
}
