// SPDX-License-Identifier: MIT
#include "form1.h"

#include "accessibility.h"
#include "artwork.h"
#include "changemarkers.h"
#include "cleanupcommands.h"
#include "clickablelabel.h"
#include "executablepicker.h"
#include "firstpaint.h"
#include "focusreturn.h"
#include "gamelauncher.h"
#include "profilecommands.h"
#include "recentinstallations.h"
#include "restorecommand.h"
#include "windowquestions.h"

#include "files/openfile.h"
#include "files/pathcase.h"
#include "files/toolfiles.h"
#include "links/bannerloader.h"
#include "links/links.h"
#include "maintenance/command.h"
#include "platform/platform.h"
#include "registration/configfile.h"
#include "registration/digest.h"
#include "registration/gamefolder.h"
#include "registration/shortpath.h"
#include "registration/versionlist.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

namespace {
constexpr int kClientHeightTwips = 6675;
constexpr int kDesignedWidthTwips = 10710;
} // namespace

Form1::Form1(Platform &platform, QWidget *parent)
    : QWidget(parent)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("Form1"));
    // The boxes and lists were laid out for a compact dialog face: "1920x1080" must fit a resolution list.
    QFont compact(QStringLiteral("Arial"));
    compact.setStyleHint(QFont::SansSerif);
    compact.setPointSizeF(7.5);
    setFont(compact);
    setWindowIcon(artwork::windowIcon());
    accessibility::install(); // before the controls, which screen readers may ask about at once
    m_ui.setupUi(this, m_platform);
    Drive1 = m_ui.picker->drives();
    Dir1 = m_ui.picker->folders();
    File1 = m_ui.picker->files();
    WebBrowser1 = m_ui.webBrowser;
    // The layout is fixed: the program alone changes the outer width, never the height.
    setFixedSize(qRound(kDesignedWidthTwips / 15.0), qRound(kClientHeightTwips / 15.0));
    createCommands();
    connectControls();
    setAcceptDrops(true);
}

Form1::~Form1() = default; // a check still running is given up, never waited for

void Form1::createCommands()
{
    m_ui.picker->start(); // its own entries lead the menus of its lists
    m_focusReturn = new FocusReturn(this, command(1));
    m_exeCheck = new tarnwell::ExecutableCheck([this] {
        return tarnwell::ExecutableCheck::Snapshot{GameExePath, label(22)->text(), m_outerWidthTwips};
    }, this);
    m_recent = new RecentInstallations(m_platform, m_game, this);
    m_launcher = new GameLauncher(m_platform, m_game, *m_recent, this);
    m_cleanup = new CleanupCommands(m_platform, m_game, this);
    m_restore = new RestoreCommand(m_platform, m_game, m_settings, this);
    m_restore->offerBeside(command(1), command(3));
    // The window's menu and the picker's, where the caption click leads.
    for (QWidget *widget : std::initializer_list<QWidget *>{this, Dir1, File1}) {
        widget->addAction(m_recent->menu()->menuAction());
        widget->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    addKeys();
    auto *launchWith = new QAction(QStringLiteral("Launch with..."), this);
    connect(launchWith, &QAction::triggered, this, &Form1::LaunchWith);
    command(2)->addAction(launchWith);
    command(2)->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_markers = new ChangeMarkers(m_platform, m_settings, m_windowControls, this);
    m_profiles = new ProfileCommands(m_platform, m_game, m_settings, m_windowControls, this);
    m_profiles->offerOn(command(1), m_markers->whatWillChange(), {m_restore->action()});
}

void Form1::addKeys()
{
    // Ctrl+Q as "Quit", as desktop programs have it.
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &Form1::Command4_Click);
    // Escape puts the picker away from within it, once a game is known, as a second click on the caption does.
    for (QWidget *list : {static_cast<QWidget *>(Drive1), static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)}) {
        auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), list, nullptr, nullptr, Qt::WidgetShortcut);
        connect(escape, &QShortcut::activated, this, [this] {
            if (m_outerWidthTwips != kPickerWidthTwips || GameFolder.isEmpty())
                return;
            setOuterWidthTwips(kSettingsWidthTwips);
            command(1)->setFocus(Qt::ShortcutFocusReason);
        });
    }
}

void Form1::connectControls()
{
    connect(command(1), &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(command(2), &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(command(3), &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(command(4), &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(command(5), &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(command(6), &QPushButton::clicked, this, &Form1::Command6_Click);
    // `clicked` comes from the user only; the program's own setChecked() does not run the rule.
    connect(check(1), &QCheckBox::clicked, this, &Form1::Check1_Click);
    connect(check(2), &QCheckBox::clicked, this, &Form1::Check2_Click);
    connect(static_cast<ClickableLabel *>(label(1)), &ClickableLabel::clicked, this, &Form1::Label1_Click);
    connect(static_cast<ClickableLabel *>(label(22)), &ClickableLabel::clicked, this, &Form1::Label22_Click);
    connect(static_cast<ClickableLabel *>(label(20)), &ClickableLabel::clicked, this, &Form1::Label20_Click);
    for (int n = 1; n <= 6; ++n)
        connect(image(n), &ClickableLabel::clicked, this, [this, n] { Image_Click(n); });
    connect(m_ui.picker, &ExecutablePicker::chosen, this, &Form1::offerExecutable);
    connect(m_exeCheck, &tarnwell::ExecutableCheck::progressed, this, &Form1::showCheckProgress);
    connect(m_exeCheck, &tarnwell::ExecutableCheck::finished, this, &Form1::finishCheck);
    connect(m_restore, &RestoreCommand::restored, this, &Form1::ReadConfig);
    connect(m_launcher, &GameLauncher::note, this, &Form1::showNote);
    connect(m_launcher, &GameLauncher::noteWithdrawn, this, &Form1::withdrawNote);
    connect(m_cleanup, &CleanupCommands::graphicsSettingsDeleted, this, [this] {
        m_settings.forget(tarnwell::SettingsFile::Graphics);
        m_windowControls.markUnread(m_settings);
        m_windowControls.markKeptValues(m_settings);
        m_markers->refresh();
    });
    connect(m_recent, &RecentInstallations::chosen, this, &Form1::SwitchInstallation);
}

void Form1::Form_Load()
{
    setWindowTitle(QStringLiteral("Tarnwell - Corvandel"));
    label(34)->setText(QStringLiteral("v" TARNWELL_VERSION_TEXT));
    label(34)->adjustSize();
    GameExePath.clear();
    GraphicsSettingsPath.clear();
    startBanner();
    m_ui.fillLists();
    m_settings.keepStartupValues();
    LoadSettings();
    if (isClosed())
        return;
    // Until a file is read, no control shows a value of the game's; the check's end marks them itself.
    if (!isChecking())
        m_windowControls.markUnread(m_settings);
    // Apply has the focus while a check runs and once it has ended, unless the picker takes it below.
    command(1)->setFocus(Qt::OtherFocusReason);
    // Found installations only add entries to the picker's lists while an executable is registered:
    // then the search waits until the window has been painted. Else the picker waits at the first one,
    // with the focus, even when the search ends while the first start's message is still open.
    m_ui.picker->findInstallations(GameExePath.isEmpty(), [this] { return GameExePath.isEmpty(); });
    if (GameExePath.isEmpty()) {
        m_platform.messageBox(QStringLiteral("Select your Quillvane QVX.EXE to get started!"), Platform::Information);
        setOuterWidthTwips(kPickerWidthTwips);
    }
}

void Form1::Command1_Click()
{
    whenChecked([this] {
        applySettings([this](bool written) {
            if (written)
                m_platform.messageBox(QStringLiteral("Settings written to file!"), Platform::OkOnly);
        });
    });
}

void Form1::whenChecked(std::function<void()> command)
{
    // The start-up check leaves the buttons free for a moment: a press then waits for the settings it
    // acts on, the last press counting, rather than finding no game folder yet.
    if (isChecking())
        m_afterCheck = std::move(command);
    else
        command();
}

void Form1::applySettings(std::function<void(bool written)> done)
{
    if (m_applying)
        return; // a second press while the first asks whether the game runs
    m_applying = true;
    const QString notDone = QStringLiteral("Nothing was written. Press Apply again once the game has exited.");
    whenWriteAllowed(m_platform, m_game, notDone, this, [this, done = std::move(done)](bool allowed) {
        const bool written = allowed && WriteConfig();
        m_applying = false;
        done(written);
    });
}

void Form1::Command2_Click()
{
    m_launcher->launch();
}

void Form1::Command3_Click()
{
    whenChecked([this] { reload(); });
}

void Form1::reload()
{
    if (GameFolder.isEmpty()) {
        m_platform.warn(m_game.noFolderReason() + QStringLiteral(", so no settings were read."));
        return;
    }
    if (hasUnsavedEdits()) {
        const int answer = m_platform.question(
            QStringLiteral("Some settings were changed in the window but not written to the game's files. Reading the "
                           "files again replaces them."),
            {QStringLiteral("Apply"), QStringLiteral("Discard and read"), QStringLiteral("Cancel")},
            QStringLiteral("Reload?"));
        if (answer == 2)
            return;
        if (answer == 0) {
            applySettings([this](bool written) {
                if (written)
                    ReadConfig();
            });
            return;
        }
        // Discarded: every control goes back to what the files gave it, then the files say what they hold now.
        m_settings.showLastRead();
    }
    ReadConfig();
}

void Form1::Command4_Click()
{
    m_platform.closeWindow(this);
}

void Form1::Command5_Click()
{
    whenChecked([this] { m_cleanup->deleteShaderCache(ShaderCachePath); });
}

void Form1::Command6_Click()
{
    whenChecked([this] { m_cleanup->deleteGraphicsSettings(GraphicsSettingsPath, m_restore->shortcutText()); });
}

void Form1::Check1_Click()
{
    check(2)->setChecked(false);
}

void Form1::Check2_Click()
{
    check(1)->setChecked(false);
}

void Form1::Label22_Click()
{
    m_platform.setClipboardText(label(22)->text());
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

void Form1::RestoreBackup()
{
    m_restore->run();
}

void Form1::LaunchWith()
{
    m_launcher->chooseWay();
}

void Form1::ReadConfig()
{
    const QString problems = m_settings.read(GameFolder);
    m_windowControls.markUnread(m_settings);
    m_windowControls.markKeptValues(m_settings);
    m_markers->refresh();
    m_profiles->settingsRead();
    // Which installation the window edits, in full: the caption names only its release.
    QString where = QStringLiteral("Click to copy");
    if (!GameExePath.isEmpty())
        where += QStringLiteral("\n\nQuillvane QVX.EXE: %1\nGame folder: %2")
                     .arg(QDir::toNativeSeparators(GameExePath),
                          GameFolder.isEmpty() ? QStringLiteral("none") : QDir::toNativeSeparators(GameFolder));
    label(22)->setToolTip(where);
    if (!problems.isEmpty())
        m_platform.warn(problems);
}

bool Form1::WriteConfig()
{
    // The resolution is cut at every "Apply", whatever is written after it.
    m_settings.takeResolution();
    if (GameFolder.isEmpty() || !m_settings.hasGameFolder()) {
        m_platform.warn(m_game.noFolderReason() + QStringLiteral(", so no settings were written."));
        return false;
    }
    WindowQuestions ask(m_platform);
    const tarnwell::ApplyReport report = m_settings.write(ask);
    // What the files hold now: a value the game wrote meanwhile may be too long to show, or no longer.
    m_windowControls.markKeptValues(m_settings);
    m_markers->refresh();
    if (!report.ok)
        m_platform.messageBox(report.message, report.failed ? Platform::Critical : Platform::Exclamation);
    m_windowControls.markRefused(report.refused);
    return report.ok;
}

void Form1::LoadSettings()
{
    m_game.load(m_platform);
    Validate_QVXEXE();
}

void Form1::SaveSettings()
{
    if (m_game.save(m_platform))
        m_recent->rememberRegistered();
}

void Form1::Validate_QVXEXE()
{
    checkExecutable(GameExePath, tarnwell::ExecutableCheck::Origin::Registered);
}

void Form1::checkExecutable(const QString &path, tarnwell::ExecutableCheck::Origin origin)
{
    // Nothing registered: nothing to look at, and no reason to hold the settings back.
    if (path.isEmpty() && origin == tarnwell::ExecutableCheck::Origin::Registered && !isChecking())
        return;
    const bool chosen = origin != tarnwell::ExecutableCheck::Origin::Registered;
    if (!knownVersionsAvailable()) {
        GameExePath = path;
        if (chosen) {
            setOuterWidthTwips(kCheckingWidthTwips);
            SaveSettings();
        }
        return;
    }
    // At the start, the window is seen first, and the check begins right after: the first frame
    // shares the processor with nothing.
    if (!chosen && !m_painted && !isVisible()) {
        GameExePath = path;
        m_checkWaits = true;
        afterFirstPaint(this, this, [this, path] {
            m_checkWaits = false;
            if (GameExePath == path && !isChecking())
                checkExecutable(path, tarnwell::ExecutableCheck::Origin::Registered);
        });
        return;
    }
    // Whether it is there, and its digest, come from beside the window: its disk may be slow.
    m_exeCheck->begin(path, origin);
    GameExePath = path;
    if (chosen) {
        setOuterWidthTwips(kCheckingWidthTwips);
        holdWhileChecking();
        return;
    }
    // The registered executable's check mostly ends at once: the window shows without the controls
    // held back, and holds them only once the check takes a while.
    QTimer::singleShot(kCheckPatienceMs, this, [this] {
        if (isChecking() && !m_checkHolds)
            holdWhileChecking();
    });
}

void Form1::holdWhileChecking()
{
    if (m_checkHolds)
        return;
    m_checkHolds = true;
    setSettingsEnabled(false);
    setCursor(Qt::BusyCursor);
    showCheckProgress(m_exeCheck->percent());
}

bool Form1::knownVersionsAvailable()
{
    VersionListPath = tarnwell::versionListPath(m_platform.programFolder());
    // Something that is no file in its place is reported when it is read, like an unreadable file.
    if (m_platform.fileExists(VersionListPath)
        || !tarnwell::notRegularReason(tarnwell::resolveCase(VersionListPath)).isEmpty())
        return true;
    if (isChecking())
        endCheck(m_exeCheck->abandon().status);
    m_platform.messageBox(QStringLiteral("Fatal Error: QVX.dat verification missing. Reinstall Tarnwell"),
                          Platform::OkOnly);
    m_platform.closeWindow(this);
    return false;
}

void Form1::showCheckProgress(int percent)
{
    if (!m_checkHolds)
        return;
    showStatus(QStringLiteral("Checking the game executable: %1%").arg(percent));
    if (m_checkDialog)
        m_checkDialog->setValue(percent);
}

void Form1::endCheck(const QString &statusBefore)
{
    m_afterCheck = nullptr; // a press waits for this check only
    // Its check is over, however it ended: the dialog goes, and with it its hold on the window.
    if (QProgressDialog *dialog = std::exchange(m_checkDialog, nullptr)) {
        dialog->disconnect(this);
        dialog->disconnect(m_exeCheck);
        const bool wasActive = dialog->isActiveWindow();
        dialog->hide();
        dialog->deleteLater();
        if (wasActive)
            activateWindow(); // the window's controls answer the keyboard again
    }
    if (!std::exchange(m_checkHolds, false))
        return; // nothing was held back, and the caption never stood in for the progress
    unsetCursor();
    setSettingsEnabled(true);
    // The progress goes; the caption it stood in for comes back unless a version is found.
    showStatus(statusBefore);
}

void Form1::finishCheck(const tarnwell::ExecutableCheck::Result &result)
{
    using Origin = tarnwell::ExecutableCheck::Origin;
    const std::function<void()> pressed = std::exchange(m_afterCheck, nullptr);
    endCheck(result.before.status);
    const bool chosen = result.origin != Origin::Registered;
    // A remembered installation that is gone changes nothing: another disk may be unplugged.
    const bool goneRecent = result.origin == Origin::Recent && result.missing;
    if (goneRecent)
        m_platform.warn(QStringLiteral("%1\n\ncannot be chosen: %2. Nothing was changed.")
                            .arg(GameExePath, result.notRegular.isEmpty() ? QStringLiteral("it is no longer there")
                                                                          : result.notRegular));
    if (result.digest.cancelled || goneRecent) {
        // A choice given up registers nothing: everything is as it was before it.
        GameExePath = result.before.exePath;
        if (chosen)
            setOuterWidthTwips(result.before.widthTwips > 0 ? result.before.widthTwips : kPickerWidthTwips);
        if (result.recheck)
            Validate_QVXEXE();
        return;
    }
    if (!result.notRegular.isEmpty())
        executableUnreadable(result.notRegular);
    else if (!result.digest.ok() && !result.missing)
        executableUnreadable(result.digest.error);
    const bool read = result.notRegular.isEmpty() && result.digest.ok() && !result.missing;
    if (read)
        showVersionAndRead(result.digest.hex);
    if (chosen) {
        SaveSettings(); // also for an unknown version, and for a file that could not be read
        // The picker that had the focus is gone; the settings of the new game come next.
        command(1)->setFocus(Qt::OtherFocusReason);
    }
    // A button pressed meanwhile acts now on what was read; after a failure, its message said enough.
    if (pressed && read && !GameFolder.isEmpty())
        pressed();
}

void Form1::showVersionAndRead(const QString &hex)
{
    const tarnwell::VersionList list = tarnwell::readVersionList(VersionListPath);
    if (!list.error.isEmpty())
        m_platform.warn(QStringLiteral("Cannot read the known-versions file %1: %2.").arg(VersionListPath, list.error));
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
        m_platform.warn(why + QStringLiteral(".\nNo settings were read."));
        return;
    }
    GameFolder = folder;
    m_game.folderProblem.clear();
    ReadConfig();
}

void Form1::showNote(const QString &text, int ms)
{
    if (!m_noteTimer) {
        m_noteTimer = new QTimer(this);
        m_noteTimer->setSingleShot(true);
        connect(m_noteTimer, &QTimer::timeout, this, [this] {
            // Unless something newer took its place, the caption comes back.
            if (label(22)->text() == m_noteShown)
                showStatus(m_captionBeforeNote);
        });
    }
    if (!m_noteTimer->isActive() || label(22)->text() != m_noteShown)
        m_captionBeforeNote = label(22)->text();
    m_noteShown = text;
    showStatus(text);
    m_noteTimer->start(ms);
}

void Form1::withdrawNote(const QString &text)
{
    if (!m_noteTimer || !m_noteTimer->isActive() || text != m_noteShown || label(22)->text() != text)
        return; // gone already, or something newer took its place
    m_noteTimer->stop();
    showStatus(m_captionBeforeNote);
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
    m_platform.warn(QStringLiteral("Cannot read the game executable %1: %2.").arg(GameExePath, why));
    // A game chosen before is no longer the one registered.
    forgetGameFolder(QStringLiteral("The game executable %1 could not be read (%2)").arg(GameExePath, why));
}

void Form1::forgetGameFolder(const QString &why)
{
    GameFolder.clear();
    m_game.folderProblem = why;
    ReadConfig(); // no folder: the paths and lines are emptied
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
    m_ui.picker->driveChanged();
}

void Form1::Dir1_Change()
{
    m_ui.picker->folderChanged();
}

void Form1::File1_Click()
{
    m_ui.picker->fileClicked();
}

void Form1::offerExecutable(const QString &path, const QString &name)
{
    // The one-line configuration file could not give such a path back: never stored, never asked about.
    if (const QString problem = tarnwell::storedPathProblem(path); !problem.isEmpty()) {
        m_platform.warn(QStringLiteral("%1\ncannot be registered: %2, which Tarnwell cannot store. Rename the folder "
                                       "or the file and choose it again.")
                            .arg(path, problem));
        return;
    }
    if (!editsMayGo())
        return;
    if (m_platform.messageBox(QStringLiteral("Set File: ") + name, Platform::YesNo, QStringLiteral("Set this file?"))
        != Platform::Yes)
        return;
    registerExecutable(path, name);
}

bool Form1::editsMayGo()
{
    // Another installation's values take the controls' place: edits not yet applied go with them.
    return !hasUnsavedEdits()
        || m_platform.question(QStringLiteral("Some settings were changed in the window but not written to the game's "
                                              "files. Switching to another installation replaces them."),
                               {QStringLiteral("Discard and switch"), QStringLiteral("Cancel")},
                               QStringLiteral("Switch installation?"))
        == 0;
}

void Form1::registerExecutable(const QString &path, const QString &name, tarnwell::ExecutableCheck::Origin origin)
{
    // A check still running (of the executable found at start-up) is given up for this one, and taken
    // up again should this one be given up.
    checkExecutable(path, origin);
    if (!isChecking())
        return; // none began (no list of known versions): nothing to show
    // Saved once the check has finished; a check given up registers nothing. The dialog lives as long
    // as the check: it shows only once the check takes a while.
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
        m_ui.picker->openFolder(exe.absolutePath());
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
    if (!m_profiles->offerDrop(path))
        offerExecutable(path, QFileInfo(path).fileName());
}

bool Form1::isSearching() const
{
    return m_ui.picker->isSearching();
}

bool Form1::isBusy() const
{
    return m_applying || isChecking() || isReadingFolder() || m_launcher->isPreparing() || m_restore->isWaiting()
        || m_recent->isSaving();
}

bool Form1::isReadingFolder() const
{
    return m_ui.picker->isReadingFolder();
}

void Form1::TypePath()
{
    m_ui.picker->typePath();
}

QLineEdit *Form1::pathEdit() const
{
    return m_ui.picker->pathEdit();
}

QMenu *Form1::recentMenu() const
{
    return m_recent->menu();
}

void Form1::SwitchInstallation(const QString &exePath)
{
    if (exePath == GameExePath || !editsMayGo())
        return;
    registerExecutable(exePath, QFileInfo(exePath).fileName(), tarnwell::ExecutableCheck::Origin::Recent);
}

void Form1::setSettingsEnabled(bool enabled)
{
    if (!enabled)
        m_focusReturn->begin();
    const auto setAll = [enabled](const auto &controls) {
        for (QWidget *control : controls) {
            if (control) // the arrays count from 1
                control->setEnabled(enabled);
        }
    };
    setAll(m_ui.check);
    setAll(m_ui.text);
    setAll(m_ui.combo);
    for (const int n : {1, 2, 3, 5, 6}) // Quit stays: the window can always be left
        m_ui.command[n]->setEnabled(enabled);
    if (enabled)
        m_focusReturn->end();
}

void Form1::setOuterWidthTwips(int twips)
{
    m_outerWidthTwips = twips;
    const int frame = frameGeometry().width() - geometry().width();
    setFixedWidth(qMax(1, qRound(twips / 15.0) - frame));
    // The picker shows only when it fits whole; a sliver of it at the edge would only confuse.
    const bool pickerFits = width() >= File1->geometry().right() + 1;
    for (QWidget *part : {static_cast<QWidget *>(Drive1), static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)})
        part->setVisible(pickerFits);
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The frame is known only once the window manager has framed the window.
    if (m_outerWidthTwips > 0)
        QTimer::singleShot(0, this, [this] { setOuterWidthTwips(m_outerWidthTwips); });
}

void Form1::paintEvent(QPaintEvent *)
{
    m_painted = true;
    QPainter painter(this);
    painter.fillRect(rect(), artwork::background.backdrop);
    artwork::draw(painter, artwork::background);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Edits that were never applied are not thrown away without a word.
    if (hasUnsavedEdits()) {
        const int answer = m_platform.question(
            QStringLiteral("Some settings were changed in the window but not written to the game's files."),
            {QStringLiteral("Apply"), QStringLiteral("Discard"), QStringLiteral("Cancel")},
            QStringLiteral("Close Tarnwell?"));
        // Apply closes only when everything was written; otherwise the window stays with its message.
        if (answer != 1) {
            event->ignore();
            if (answer == 0) {
                applySettings([this](bool written) {
                    if (written)
                        close();
                });
            }
            return;
        }
    }
    m_closed = true;
    event->accept();
}
