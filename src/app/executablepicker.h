// SPDX-License-Identifier: MIT
// The picker of the game's executable: the drive list, the folder list and the file list, the
// folder they show, the installations found, a typed path (Ctrl+L) and a dropped file. Every folder
// is read beside the window: a disk that is slow or does not answer never holds the window up.
#pragma once

#include "files/background.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QString>
#include <QStyle>

#include <functional>

class Platform;
class QAction;
class QComboBox;
class QFileSystemWatcher;
class QLineEdit;
class QListWidget;
class QMimeData;
class QTimer;
class QWidget;
namespace tarnwell { struct Discovery; struct FolderView; struct Installation; }

// Not a container of its own: its three controls are the window's children at their places there,
// so that the window lays them out, orders them for Tab and shows them only when they fit.
class ExecutablePicker : public QObject
{
    Q_OBJECT

public:
    ExecutablePicker(Platform &platform, QWidget *window);
    ~ExecutablePicker() override;

    QComboBox *drives() const { return m_drives; }   // Drive1
    QListWidget *folders() const { return m_folders; } // Dir1
    QListWidget *files() const { return m_files; }     // File1
    QLineEdit *pathEdit() const { return m_pathEdit; }

    // Lists the drives and opens the home folder; nothing to report either way.
    void start();
    void driveChanged();  // another entry in the drive list
    void folderChanged(); // the file list follows the open folder
    void fileClicked();   // the file list's current file is chosen
    void typePath();      // an edit field over the drive list, for a folder or file path
    // Reads `folder` beside the window and shows it in the lists, then calls `then`; a folder that
    // cannot be opened is reported (unless `quiet`) and the lists keep what they showed.
    void openFolder(const QString &folder, std::function<void()> then = {}, bool quiet = false);
    // Opens the folder of `exePath` with the file selected, not chosen.
    void showExecutable(const QString &exePath, std::function<void()> then = {});
    // Looks for the game's installations below the home folder, at once or once the window has been
    // painted, and lists them. When `waitAtFirst` says so at the end, the picker waits at the first one.
    void findInstallations(bool now, std::function<bool()> waitAtFirst);
    bool isSearching() const { return m_searching; }
    // A folder is being read for the lists.
    bool isReadingFolder() const { return m_starting || m_listing || m_fileRefresh || m_typedCheck; }
    // The user has moved the picker: a search that ends later leaves it where it is.
    bool movedByUser() const { return m_moved; }
    // The one local file dropped, native; empty for anything else. What it is, is checked later.
    static QString droppedFile(const QMimeData *data);

signals:
    void chosen(const QString &path, const QString &name);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls(QWidget *window);
    void connectControls();
    void createPathEdit(QWidget *window);
    void openTypedPath();
    void closePathEdit();
    void fillDrives();
    void showVolume(const QString &root, const QString &name, bool folder);
    QString driveOf(const QString &folder) const;
    void selectDriveOf(const QString &folder);
    bool driveIsInstallation();
    void openDrive(const QString &root);
    // Reads the folder beside the window; a newer read replaces one still running.
    void read(const QString &folder, bool asDrive, std::function<void(const tarnwell::FolderView &)> done);
    void show(const tarnwell::FolderView &view);
    void refreshFiles();
    void listingSlow();
    void installationsFound(const tarnwell::Discovery &found, const std::function<bool()> &waitAtFirst);
    // The installations found: after the drives, and in the lists' menu.
    void setInstallations(const QList<tarnwell::Installation> &installations);
    // The style's picture once the window's first frame is out, a blank of its size until then.
    QIcon icon(QStyle::StandardPixmap picture);
    void showIcons(); // every entry gets its picture

    Platform &m_platform;
    QComboBox *m_drives = nullptr;
    QListWidget *m_folders = nullptr;
    QListWidget *m_files = nullptr;
    QLineEdit *m_pathEdit = nullptr;
    QString m_dirPath; // the open folder, native; a root keeps its trailing separator
    QFileSystemWatcher *m_folderWatch = nullptr; // on m_dirPath, so that the file list shows new files
    QHash<QString, QString> m_driveFolders; // each drive's current folder: the last one shown on it
    QList<QAction *> m_installationActions;
    bool m_moved = false;
    bool m_starting = false; // the first folder is read once the window has been seen
    tarnwell::JobHandle m_listing; // the folder being read
    QString m_listingPath;
    QTimer *m_slowListing = nullptr;
    tarnwell::JobHandle m_fileRefresh;
    tarnwell::JobHandle m_typedCheck; // what a typed path names
    tarnwell::JobHandle m_search;
    bool m_searching = false; // from the call until its result, though it starts after the first paint
    QIcon m_blankIcon;
    QHash<int, QIcon> m_icons; // by QStyle::StandardPixmap
    bool m_iconsShown = false;
};
