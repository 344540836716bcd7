// SPDX-License-Identifier: MIT
// Registering the game's executable: configuration file, version check and picker.
#include "form1.h"

#include "files/pathcase.h"
#include "files/toolfiles.h"
#include "platform/platform.h"
#include "registration/configfile.h"
#include "registration/digest.h"
#include "registration/folderlist.h"
#include "registration/shortpath.h"
#include "registration/versionlist.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QShortcut>
#include <QStyle>

namespace {

// "Binaries" + separator + "QVX.EXE": what lies between the game folder and the executable.
constexpr qsizetype kExeTailLength = 16;
constexpr int kIndentSpaces = 3;

QString configPath(const Platform &platform)
{
    return tarnwell::configFilePath(platform.programFolder());
}

} // namespace

void Form1::connectPicker()
{
    connect(Drive1, &QComboBox::activated, this, [this] { Drive1_Change(); });
    connect(Dir1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { openFolder(item->data(Qt::UserRole).toString()); });
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
    if (m_platform.fileExists(path)) {
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
}

void Form1::Validate_QVXEXE()
{
    if (!m_platform.fileExists(GameExePath))
        return;
    VersionListPath = tarnwell::versionListPath(m_platform.programFolder());
    if (!m_platform.fileExists(VersionListPath)) {
        m_platform.messageBox(QStringLiteral("Fatal Error: QVX.dat verification missing. Reinstall Tarnwell"),
                              Platform::OkOnly);
        m_platform.closeWindow(this);
        return;
    }

    const QString shortExe = ShortPath(GameExePath);
    const tarnwell::FileDigest digest = shortExe.isEmpty()
        ? tarnwell::FileDigest{QString(), QStringLiteral("the file is no longer there")}
        : tarnwell::md5OfFile(shortExe);
    if (!digest.ok()) {
        warn(QStringLiteral("Cannot read the game executable %1: %2.").arg(GameExePath, digest.error));
        // A game chosen before is no longer the one registered.
        forgetGameFolder(QStringLiteral("The game executable %1 could not be read (%2)").arg(GameExePath, digest.error));
        return;
    }

    const tarnwell::VersionList list = tarnwell::readVersionList(VersionListPath);
    if (!list.error.isEmpty())
        warn(QStringLiteral("Cannot read the known-versions file %1: %2.").arg(VersionListPath, list.error));
    const std::optional<QString> name = tarnwell::findVersionName(list.lines, digest.hex.toLower());
    label(22)->setText(name ? *name + QStringLiteral(" Detected!")
                            : QStringLiteral("Unknown Quillvane Version! MD5: ") + digest.hex.toUpper());
    label(22)->adjustSize();

    setOuterWidthTwips(8100);
    if (GameExePath.size() <= kExeTailLength) {
        // No folder is left to hold the settings; reading would look beside the working folder instead.
        forgetGameFolder(QStringLiteral("No game folder can be found from %1: the executable must lie in the game "
                                        "folder as %2")
                             .arg(GameExePath, tarnwell::native(QStringLiteral("Binaries/QVX.EXE"))));
        warn(QStringLiteral("No game folder can be found from %1: the executable must lie in the game folder as %2.\n"
                            "No settings were read.")
                 .arg(GameExePath, tarnwell::native(QStringLiteral("Binaries/QVX.EXE"))));
        return;
    }
    GameFolder = GameExePath.left(GameExePath.size() - kExeTailLength);
    m_gameFolderProblem.clear();
    ReadConfig();
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
    const QString root = Drive1->currentData().toString();
    const QString problem = tarnwell::driveProblem(root);
    if (!problem.isEmpty()) {
        warn(QStringLiteral("Drive %1 cannot be opened: %2.").arg(root, problem));
        selectDriveOf(m_dirPath); // the lists keep the folder they showed
        return;
    }
    // The drive's current folder: the one last shown on it during this run, else its root.
    const QString current = m_driveFolders.value(root);
    if (current.isEmpty() || !tarnwell::folderProblem(current).isEmpty() || !openFolder(current))
        openFolder(root);
}

void Form1::Dir1_Change()
{
    File1->clear();
    File1->addItems(tarnwell::fileNames(m_dirPath));
}

void Form1::File1_Click()
{
    const QListWidgetItem *item = File1->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    if (m_platform.messageBox(QStringLiteral("Set File: ") + name, Platform::YesNo, QStringLiteral("Set this file?"))
        != Platform::Yes)
        return;
    GameExePath = tarnwell::pickedPath(m_dirPath, name);
    setOuterWidthTwips(8000);
    Validate_QVXEXE();
    SaveSettings(); // also for an unknown version, and after a fatal check
}

void Form1::fillDrives()
{
    Drive1->clear();
    for (const tarnwell::Drive &drive : tarnwell::drives())
        Drive1->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon), drive.caption, drive.root);
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
        auto *item = new QListWidgetItem(row.open ? openIcon : closedIcon,
                                         QString(row.depth * kIndentSpaces, QLatin1Char(' ')) + row.name, Dir1);
        item->setData(Qt::UserRole, row.path);
        item->setToolTip(row.path);
        if (row.current) {
            Dir1->setCurrentItem(item);
            Dir1->scrollToItem(item);
        }
    }
}
