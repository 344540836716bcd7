// SPDX-License-Identifier: MIT
// The tool's one window: its controls, the state that its operations share, and its handlers.
#pragma once

#include "settings/linelist.h"
#include "settings/settingsmerge.h"
#include "settings/settingsreader.h"
#include "settings/valuetext.h"

#include <QHash>
#include <QStringList>
#include <QWidget>

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class ClickableLabel;
class Platform;
class QMimeData;
class QProgressDialog;
class QTimer;
namespace tarnwell { class DigestTask; class DiscoveryTask; struct Command; struct Installation; }

class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(Platform &platform, QWidget *parent = nullptr);
    ~Form1() override;

    // Start-up sequence; runs before the window is shown.
    void Form_Load();
    // True once the window has been closed (by "Quit" or a fatal error), even before it was shown.
    bool isClosed() const { return m_closed; }
    // True while the executable's digest is being computed; the settings controls wait meanwhile.
    bool isChecking() const { return m_digest != nullptr; }
    // True while the game's installations are being looked for.
    bool isSearching() const { return m_discovery != nullptr; }

    // Named operations.
    void LoadSettings();
    void SaveSettings();
    void Validate_QVXEXE();
    QString ShortPath(const QString &strFilename) const;
    QString CalcMD5(const QString &path) const;
    void ReadConfig();
    bool WriteConfig(); // true when every settings file that was read has been written
    bool applySettings(); // "Apply" without its message: the running game first, then WriteConfig()
    // True while some setting differs from what was last read or written.
    bool hasUnsavedEdits() const;
    void startBanner();

    // The window's outer width, frame included, in twips.
    void setOuterWidthTwips(int twips);
    int outerWidthTwips() const;

    // Form-level state shared by the window's operations.
    QString GameExePath;
    QString GameFolder;
    QString GraphicsSettingsPath;
    QString UserSettingsPath;
    QString ResWidth;
    QString ResHeight;
    QString VersionListPath;
    QString ShaderCachePath;

    // Handlers.
    void Command1_Click(); // Apply
    void Command2_Click(); // Launch
    void Command3_Click(); // Reload
    void Command4_Click(); // Quit
    void Command5_Click(); // Del ShaderCache
    void Command6_Click(); // Del All Settings
    void Check1_Click();
    void Check2_Click();
    void Label1_Click(); // the picker again, to choose another executable
    void Label22_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Image_Click(int index); // Image1_Click .. Image6_Click
    void Label20_Click();
    void RestoreBackup(); // "Restore...": the window's and Reload's context menus, Ctrl+Shift+R

    Platform &platform() const { return m_platform; }

    // Controls, by their names.
    QCheckBox *check(int n) const { return m_check[n]; }   // Check1..Check13
    QLineEdit *text(int n) const { return m_text[n]; }     // Text1..Text11
    QComboBox *combo(int n) const { return m_combo[n]; }   // Combo1..Combo7
    QPushButton *command(int n) const { return m_command[n]; } // Command1..Command6
    QLabel *label(int n) const;                            // Label1..Label35
    ClickableLabel *image(int n) const { return m_image[n]; }  // Image1..Image6
    QComboBox *Drive1 = nullptr;
    QListWidget *Dir1 = nullptr;
    QListWidget *File1 = nullptr;
    QWidget *WebBrowser1 = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void fillLists();
    void connectPicker();
    // A message the user must know about: OK, with the warning icon.
    void warn(const QString &message);

    Platform &m_platform;
    bool m_closed = false;
    int m_outerWidthTwips = 0;
    QCheckBox *m_check[14] = {};
    QLineEdit *m_text[12] = {};
    QComboBox *m_combo[8] = {};
    QPushButton *m_command[7] = {};
    QLabel *m_label[36] = {};
    ClickableLabel *m_image[7] = {};

    // --- settings files ---
public:
    // The lines of the two settings files as last read (what was written since is in their states).
    tarnwell::LineList GraphicsLines;
    tarnwell::LineList UserLines;

private:
    tarnwell::FileState m_graphicsState;
    tarnwell::FileState m_userState;
    tarnwell::ReadValues m_readValues;
    // What the controls of each file (graphics, user) showed when it was last read or written.
    tarnwell::ShownValues m_shown[2];

    // --- registration ---
    // Asks about the executable at `path` (`name` shown) and registers it after a Yes.
    void offerExecutable(const QString &path, const QString &name);
    void registerExecutable(const QString &path, const QString &name); // as after a Yes
    static QString droppedFile(const QMimeData *data);
    void startCheck(const QString &shortExe);
    void showCheckProgress();
    void cancelCheck();
    void finishCheck();
    void showVersionAndRead(const QString &hex);
    void executableUnreadable(const QString &why);
    void setSettingsEnabled(bool enabled);
    void showStatus(const QString &caption); // Label22, sized to its caption
    std::unique_ptr<tarnwell::DigestTask> m_digest;
    QTimer *m_checkProgress = nullptr;
    QProgressDialog *m_checkDialog = nullptr; // for a choice in the picker, which may be given up
    bool m_checkFromPicker = false; // the running check is for a choice in the picker, which may be given up
    struct BeforeCheck {
        QString exePath;
        QString status;
        int widthTwips = 0;
        bool recheck = false; // a check of this executable was interrupted and is to be taken up again
    } m_beforeCheck;
    // Forgets the game folder and its settings files; `why` is what commands then tell the user.
    void forgetGameFolder(const QString &why);
    // Why no game folder is known, as the start of a sentence.
    QString noGameFolderReason() const;
    QString m_gameFolderProblem;
    void fillDrives();
    QString driveOf(const QString &folder) const;
    void selectDriveOf(const QString &folder);
    bool openFolder(const QString &folder); // gives Dir1 a new path; false (and a message) when it cannot
    void showFolderRows();
    QString m_dirPath; // the path of Dir1, native; a root keeps its trailing separator
    QHash<QString, QString> m_driveFolders; // each drive's current folder: the last one shown on it
    // --- maintenance and links ---
    bool confirm(const QString &question); // Yes/No, the question also the title
    bool m_bannerStarted = false; // the banner is asked for once, never again

    // --- the running game, backups and restore ---
    void createRestoreAction();
    // Apply or a restore while the game runs: true when the user still wants the files written;
    // otherwise `notDone` tells what was not done.
    bool gameAllowsWrite(const QString &notDone);
    QAction *m_restoreAction = nullptr;

    // --- installations found, typed paths ---
public:
    void TypePath(); // Ctrl+L in the picker: an edit field for a folder or file path
    QLineEdit *pathEdit() const { return m_pathEdit; }
    // "Recent installations" (the window's and the picker's context menus): registers another
    // remembered executable, asking first about unapplied edits.
    void SwitchInstallation(const QString &exePath);
    QMenu *recentMenu() const { return m_recentMenu.get(); }
    void LaunchWith(); // "Launch with..." in the context menu of "Launch"

private:
    // Found installations only add entries to the picker's lists while an executable is registered:
    // then the search waits until the window has been painted, and does not hold its first paint back.
    void startDiscovery(bool now);
    void installationsFound();
    void addInstallationEntries(); // after the drives in Drive1, and in the picker's context menu
    void showInstallation(const QString &exePath); // its folder in the picker, the file selected
    bool driveIsInstallation();
    void openTypedPath();
    void createInstallationMenus();
    void createPathEdit(); // and "Type a path..." in the picker's lists' menu
    void fillRecentMenu();
    QString installationsPath() const;
    void rememberExecutable(); // at the front of the remembered installations
    // The launch command of the registered executable as chosen with "Launch with...".
    bool launchChosenWay(const QString &shortPath);
    void startGame(const tarnwell::Command &command); // a failed start is reported
    std::unique_ptr<QMenu> m_recentMenu; // a pop-up of its own, not one of the window's controls
    std::unique_ptr<tarnwell::DiscoveryTask> m_discovery;
    QList<QPair<QString, QString>> m_installations; // caption, executable
    QList<QAction *> m_installationActions;
    QLineEdit *m_pathEdit = nullptr;
    bool m_pickerMoved = false; // by the user: a search that ends later leaves the picker where it is
};
