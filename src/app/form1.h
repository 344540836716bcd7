// SPDX-License-Identifier: MIT
// The tool's one window: its controls, the state that its operations share, and its handlers.
#pragma once

#include "registration/executablecheck.h"
#include "settings/settingssession.h"
#include "windowcontrols.h"

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
class ExecutablePicker;
class Platform;
class QProgressDialog;
class QTimer;
namespace tarnwell { class DiscoveryTask; struct Command; struct Installation; }

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
    bool isChecking() const { return m_exeCheck->isRunning(); }
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

    // The window's outer widths, frame included, in twips: with the picker open, with the settings
    // alone once a game is known, and while a file chosen in the picker is checked.
    static constexpr int kPickerWidthTwips = 11000;
    static constexpr int kSettingsWidthTwips = 8100;
    static constexpr int kCheckingWidthTwips = 8000;
    // The window's outer width, frame included, in twips.
    void setOuterWidthTwips(int twips);
    int outerWidthTwips() const;

private:
    // The settings files and the controls they fill; before the names below, which refer into them.
    WindowControls m_windowControls{*this};
    tarnwell::SettingsSession m_settings{m_windowControls};

public:
    // Form-level state shared by the window's operations.
    QString GameExePath;
    QString GameFolder;
    // These four and the two line lists live in the settings session; the names refer to them there.
    QString &GraphicsSettingsPath = m_settings.file(tarnwell::SettingsFile::Graphics).path;
    QString &UserSettingsPath = m_settings.file(tarnwell::SettingsFile::User).path;
    QString &ResWidth = m_settings.resWidth;
    QString &ResHeight = m_settings.resHeight;
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
    void createLabels();
    void createSettingControls();
    void createButtons();
    void createPictures();
    void createPicker(); // Drive1, Dir1 and File1
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
    // The lines of the two settings files as last read, edited in place by each write.
    tarnwell::LineList &GraphicsLines = m_settings.file(tarnwell::SettingsFile::Graphics).lines;
    tarnwell::LineList &UserLines = m_settings.file(tarnwell::SettingsFile::User).lines;

private:
    void keepStartupValues();
    // Every settings control back to what the last read or write showed.
    void showLastRead();
    // Greys the controls whose file was not read and says why in their tooltips.
    void markUnreadControls();
    void markKeptValues(); // a value too long to show is shown shortened, read-only

    // --- registration ---
    // Asks about the executable at `path` (`name` shown) and registers it after a Yes.
    void offerExecutable(const QString &path, const QString &name);
    void registerExecutable(const QString &path, const QString &name); // as after a Yes
    // Checks the executable at `path`; one from the picker is registered once the check has begun.
    void checkExecutable(const QString &path, tarnwell::ExecutableCheck::Origin origin);
    void showCheckProgress(int percent);
    void finishCheck(const tarnwell::ExecutableCheck::Result &result);
    void showVersionAndRead(const QString &hex);
    void executableUnreadable(const QString &why);
    void setSettingsEnabled(bool enabled);
    void showStatus(const QString &caption); // Label22, sized to its caption
    tarnwell::ExecutableCheck *m_exeCheck = nullptr;
    QProgressDialog *m_checkDialog = nullptr; // for a choice in the picker, which may be given up
    // Forgets the game folder and its settings files; `why` is what commands then tell the user.
    void forgetGameFolder(const QString &why);
    // Why no game folder is known, as the start of a sentence.
    QString noGameFolderReason() const;
    QString m_gameFolderProblem;
    ExecutablePicker *m_picker = nullptr; // Drive1, Dir1 and File1
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
    QLineEdit *pathEdit() const;
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
    void createInstallationMenus();
    void fillRecentMenu();
    QString installationsPath() const;
    void rememberExecutable(); // at the front of the remembered installations
    // The launch command of the registered executable as chosen with "Launch with...".
    bool launchChosenWay(const QString &shortPath);
    void startGame(const tarnwell::Command &command); // a failed start is reported
    std::unique_ptr<QMenu> m_recentMenu; // a pop-up of its own, not one of the window's controls
    std::unique_ptr<tarnwell::DiscoveryTask> m_discovery;
};
