// SPDX-License-Identifier: MIT
// The tool's one window: its controls and handlers, each handler forwarding to the object that does
// the work (the settings session, the executable check, the picker, the commands).
#pragma once

#include "form1ui.h"
#include "registeredgame.h"
#include "registration/executablecheck.h"
#include "settings/settingssession.h"
#include "windowcontrols.h"

#include <QWidget>

#include <functional>

class CleanupCommands;
class FocusReturn;
class GameLauncher;
class QListWidget;
class QMenu;
class QProgressDialog;
class QTimer;
class RecentInstallations;
class RestoreCommand;
class ChangeMarkers; // the profiles and the changed settings
class ProfileCommands;

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
    bool isChecking() const { return m_exeCheck->isRunning() || m_checkWaits; }
    // True while the game's installations are being looked for.
    bool isSearching() const;
    // True while the picker reads a folder for its lists.
    bool isReadingFolder() const;

    // Named operations.
    void LoadSettings();
    void SaveSettings();
    void Validate_QVXEXE();
    QString ShortPath(const QString &strFilename) const;
    QString CalcMD5(const QString &path) const;
    void ReadConfig();
    bool WriteConfig(); // true when every settings file that was read has been written
    // "Apply" without its message: whether the game runs first (asked beside the window), then
    // WriteConfig(); `done(true)` once every settings file that was read has been written.
    void applySettings(std::function<void(bool written)> done);
    bool isApplying() const { return m_applying; }
    // True while a command or the picker waits for work beside the window (whether the game runs, a
    // folder, the executable's check); the search for installations aside.
    bool isBusy() const;
    // True while some setting differs from what was last read or written.
    bool hasUnsavedEdits() const { return m_settings.hasUnsavedEdits(); }
    void startBanner();

    // The window's outer widths, frame included, in twips: with the picker open, with the settings
    // alone once a game is known, and while a file chosen in the picker is checked.
    static constexpr int kPickerWidthTwips = 11000;
    static constexpr int kSettingsWidthTwips = 8100;
    static constexpr int kCheckingWidthTwips = 8000;
    void setOuterWidthTwips(int twips);
    int outerWidthTwips() const { return m_outerWidthTwips; }

private:
    // What the names below refer into, so declared before them.
    RegisteredGame m_game;
    WindowControls m_windowControls{*this};
    tarnwell::SettingsSession m_settings{m_windowControls};

public:
    // Form-level state shared by the window's operations.
    QString &GameExePath = m_game.exePath;
    QString &GameFolder = m_game.folder;
    QString &GraphicsSettingsPath = m_settings.file(tarnwell::SettingsFile::Graphics).path;
    QString &UserSettingsPath = m_settings.file(tarnwell::SettingsFile::User).path;
    QString &ResWidth = m_settings.resWidth;
    QString &ResHeight = m_settings.resHeight;
    QString VersionListPath;
    QString ShaderCachePath;
    // The lines of the two settings files as last read, edited in place by each write.
    tarnwell::LineList &GraphicsLines = m_settings.file(tarnwell::SettingsFile::Graphics).lines;
    tarnwell::LineList &UserLines = m_settings.file(tarnwell::SettingsFile::User).lines;

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
    void TypePath();      // Ctrl+L in the picker: an edit field for a folder or file path
    // "Recent installations" (the window's and the picker's context menus): registers another
    // remembered executable, asking first about unapplied edits.
    void SwitchInstallation(const QString &exePath);
    void LaunchWith(); // "Launch with..." in the context menu of "Launch"

    Platform &platform() const { return m_platform; }

    // Controls, by their names.
    QCheckBox *check(int n) const { return m_ui.check[n]; }       // Check1..Check13
    QLineEdit *text(int n) const { return m_ui.text[n]; }         // Text1..Text11
    QComboBox *combo(int n) const { return m_ui.combo[n]; }       // Combo1..Combo7
    QPushButton *command(int n) const { return m_ui.command[n]; } // Command1..Command6
    QLabel *label(int n) const { return n >= 1 && n <= 35 ? m_ui.label[n] : nullptr; } // Label1..Label35
    ClickableLabel *image(int n) const { return m_ui.image[n]; }  // Image1..Image6
    QComboBox *Drive1 = nullptr;
    QListWidget *Dir1 = nullptr;
    QListWidget *File1 = nullptr;
    QWidget *WebBrowser1 = nullptr;
    QLineEdit *pathEdit() const; // the field of TypePath()
    QMenu *recentMenu() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createCommands();
    void addKeys(); // Ctrl+Q, and Escape in the picker
    void connectControls();
    void setSettingsEnabled(bool enabled);
    void showStatus(const QString &caption); // Label22, sized to its caption
    void showNote(const QString &text, int ms); // in Label22 for a while, then the caption again
    void withdrawNote(const QString &text); // a note no longer true goes at once

    // Registration: asks about the executable at `path` (`name` shown), registers it after a Yes.
    void offerExecutable(const QString &path, const QString &name);
    // True when no setting was changed but not applied, or the user lets those edits go.
    bool editsMayGo();
    void registerExecutable(const QString &path, const QString &name, // as after a Yes
                            tarnwell::ExecutableCheck::Origin origin = tarnwell::ExecutableCheck::Origin::Picker);
    // Checks the executable at `path`; one from the picker is registered once the check has begun.
    void checkExecutable(const QString &path, tarnwell::ExecutableCheck::Origin origin);
    // The settings and commands wait, the progress shows, while the check runs.
    void holdWhileChecking();
    void whenChecked(std::function<void()> command); // now, or once the running check has read the settings
    void reload(); // Reload's work
    void showCheckProgress(int percent);
    void finishCheck(const tarnwell::ExecutableCheck::Result &result);
    void endCheck(const QString &statusBefore); // the window as it was before the check, usable again
    // False (after the fatal message, closing the window) when the known-versions list is missing.
    bool knownVersionsAvailable();
    void showVersionAndRead(const QString &hex);
    void executableUnreadable(const QString &why);
    // Forgets the game folder and its settings files; `why` is what commands then tell the user.
    void forgetGameFolder(const QString &why);

    Platform &m_platform;
    Form1Ui m_ui;
    bool m_closed = false;
    bool m_applying = false; // Apply waits to know whether the game runs
    bool m_checkHolds = false; // the controls wait for the executable's check
    bool m_painted = false;
    bool m_checkWaits = false; // the start-up check begins once the window has been painted
    std::function<void()> m_afterCheck; // a button pressed while the start-up check runs
    static constexpr int kCheckPatienceMs = 200;
    bool m_bannerStarted = false; // the banner is asked for once, never again
    int m_outerWidthTwips = 0;
    tarnwell::ExecutableCheck *m_exeCheck = nullptr;
    QProgressDialog *m_checkDialog = nullptr; // for a choice in the picker, which may be given up
    FocusReturn *m_focusReturn = nullptr; // to "Apply" once a check ends
    QTimer *m_noteTimer = nullptr;
    QString m_noteShown;
    QString m_captionBeforeNote;
    GameLauncher *m_launcher = nullptr;
    CleanupCommands *m_cleanup = nullptr;
    RestoreCommand *m_restore = nullptr;
    RecentInstallations *m_recent = nullptr;
    ChangeMarkers *m_markers = nullptr;
    ProfileCommands *m_profiles = nullptr;
};
