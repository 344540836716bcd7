// SPDX-License-Identifier: MIT
#include "executablepicker.h"

#include "firstpaint.h"
#include "folderrowdelegate.h"

#include "files/openfile.h"
#include "platform/platform.h"
#include "registration/discovery.h"
#include "registration/folderlist.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QUrl>

#include <mutex>
#include <utility>

namespace {

// The drive list's entries for installations carry the executable here; drives carry their root in UserRole.
constexpr int kInstallationRole = Qt::UserRole + 1;
// Every entry of the lists carries the style's picture it shows, a QStyle::StandardPixmap, here.
constexpr int kIconRole = Qt::UserRole + 2;
// A folder not read by then is taken to be on a disk that does not answer.
constexpr int kListingPatienceMs = 3000;
// Beyond the search's own time bound, for a file system call that never returns.
constexpr int kSearchGraceMs = 2000;

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

// What a typed path names, as the disk tells it beside the window.
struct TypedPath {
    enum Kind { Folder, File, Nothing } kind = Nothing;
    QString why; // for Nothing
};

TypedPath inspectTyped(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {TypedPath::Folder, {}};
    if (info.isFile())
        return {TypedPath::File, {}};
    // Nothing there, or a pipe or device, which is never opened.
    const QString odd = tarnwell::notRegularReason(path);
    return {TypedPath::Nothing, odd.isEmpty() ? QStringLiteral("nothing is there") : odd};
}

} // namespace

ExecutablePicker::ExecutablePicker(Platform &platform, QWidget *window)
    : QObject(window)
    , m_platform(platform)
    , m_slowListing(new QTimer(this))
{
    createControls(window);
    m_slowListing->setSingleShot(true);
    m_slowListing->setInterval(kListingPatienceMs);
    connect(m_slowListing, &QTimer::timeout, this, &ExecutablePicker::listingSlow);
    // The style's pictures are read from files through every image reader Qt has, which would hold
    // back the window's first frame: they come right after it, and the entries keep a blank of their
    // size until then.
    const int side = m_folders->style()->pixelMetric(QStyle::PM_SmallIconSize);
    QPixmap blank(side, side);
    blank.fill(Qt::transparent);
    m_blankIcon = QIcon(blank);
    afterFirstPaint(window, this, [this] { showIcons(); });
}

ExecutablePicker::~ExecutablePicker() = default; // work still running is given up, never waited for

QIcon ExecutablePicker::icon(QStyle::StandardPixmap picture)
{
    if (!m_iconsShown)
        return m_blankIcon;
    auto found = m_icons.find(picture);
    if (found == m_icons.end())
        found = m_icons.insert(picture, m_drives->style()->standardIcon(picture)); // read from the style's files: once
    return found.value();
}

void ExecutablePicker::showIcons()
{
    if (m_iconsShown)
        return;
    m_iconsShown = true;
    for (int i = 0; i < m_drives->count(); ++i)
        m_drives->setItemIcon(i, icon(QStyle::StandardPixmap(m_drives->itemData(i, kIconRole).toInt())));
    for (int i = 0; i < m_folders->count(); ++i)
        m_folders->item(i)->setIcon(icon(QStyle::StandardPixmap(m_folders->item(i)->data(kIconRole).toInt())));
    for (QAction *action : std::as_const(m_installationActions)) {
        if (!action->isSeparator())
            action->setIcon(icon(QStyle::SP_DirIcon));
    }
}

void ExecutablePicker::createControls(QWidget *window)
{
    m_drives = new QComboBox(window);
    m_drives->setObjectName(QStringLiteral("Drive1"));
    m_drives->setGeometry(twipRect(7920, 0, 2775, 315));
    m_folders = new QListWidget(window);
    m_folders->setObjectName(QStringLiteral("Dir1"));
    m_folders->setGeometry(twipRect(7920, 360, 2775, 2790));
    m_folders->setItemDelegate(new FolderRowDelegate(m_folders));
    m_folders->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff); // long names are elided instead
    m_folders->setResizeMode(QListView::Adjust);
    m_files = new QListWidget(window);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setGeometry(twipRect(7920, 3120, 2775, 3600));
    m_files->installEventFilter(this);
}

void ExecutablePicker::start()
{
    connectControls();
    createPathEdit(m_drives->parentWidget());
    // The mount table and the home folder wait until the window has been seen; until then the lists
    // count as being read.
    m_starting = true;
    afterFirstPaint(m_drives->window(), this, [this] {
        m_starting = false;
        fillDrives();
        if (m_listing || !m_dirPath.isEmpty())
            return; // a found installation is being shown already
        // The home folder, or the first drive where there is none to open; nothing to report either way.
        read(QDir::homePath(), false, [this](const tarnwell::FolderView &view) {
            if (view.problem.isEmpty())
                show(view);
            else
                openFolder(m_drives->itemData(0).toString(), {}, true);
        });
    });
}

void ExecutablePicker::connectControls()
{
    connect(m_drives, &QComboBox::activated, this, [this] {
        m_moved = true;
        driveChanged();
    });
    connect(m_folders, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        m_moved = true;
        openFolder(item->data(Qt::UserRole).toString());
    });
    // A mouse click asks at once; from the keyboard, Enter asks, so that moving through the list does not.
    connect(m_files, &QListWidget::itemClicked, this, &ExecutablePicker::fileClicked);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto *enter = new QShortcut(QKeySequence(key), m_files, nullptr, nullptr, Qt::WidgetShortcut);
        connect(enter, &QShortcut::activated, this, [this] {
            if (m_files->currentItem())
                fileClicked();
        });
    }
    // The file list follows its folder: a file made there shows without opening the folder again.
    m_folderWatch = new QFileSystemWatcher(this);
    connect(m_folderWatch, &QFileSystemWatcher::directoryChanged, this, [this](const QString &folder) {
        if (folder == m_dirPath)
            refreshFiles();
    });
}

bool ExecutablePicker::eventFilter(QObject *watched, QEvent *event)
{
    // The file list shows where the keyboard is, even before an entry was chosen.
    if (watched == m_files && event->type() == QEvent::FocusIn && !m_files->currentItem() && m_files->count() > 0)
        m_files->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    // The typed path goes when the user goes elsewhere; a message about it or a menu leaves it open.
    if (watched == m_pathEdit && event->type() == QEvent::FocusOut && m_pathEdit->isVisible()) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            QTimer::singleShot(0, this, [this] { closePathEdit(); });
    }
    return QObject::eventFilter(watched, event);
}

void ExecutablePicker::createPathEdit(QWidget *window)
{
    // The lists' own menu; Ctrl+L as file dialogs have it. No control is added or moved: the edit
    // field lies over the drive list, and shows only while it is in use.
    auto *typePath = new QAction(QStringLiteral("Type a path...\tCtrl+L"), this);
    connect(typePath, &QAction::triggered, this, &ExecutablePicker::typePath);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), window);
    connect(shortcut, &QShortcut::activated, this, &ExecutablePicker::typePath);
    for (QWidget *list : {m_folders, m_files}) {
        list->addAction(typePath);
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    m_pathEdit = new QLineEdit(m_drives);
    m_pathEdit->setObjectName(QStringLiteral("PathEdit"));
    m_pathEdit->setAccessibleName(QStringLiteral("Path"));
    m_pathEdit->hide();
    m_pathEdit->installEventFilter(this);
    connect(m_pathEdit, &QLineEdit::returnPressed, this, &ExecutablePicker::openTypedPath);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_pathEdit, nullptr, nullptr, Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        closePathEdit();
        m_files->setFocus();
    });
}

void ExecutablePicker::closePathEdit()
{
    m_pathEdit->hide();
    m_pathEdit->clear(); // what was typed is not kept for the next time
}

void ExecutablePicker::driveChanged()
{
    if (!driveIsInstallation())
        openDrive(m_drives->currentData().toString());
}

// The drive's current folder: the one last shown on it during this run, else its root.
void ExecutablePicker::openDrive(const QString &root)
{
    const QString current = m_driveFolders.value(root);
    read(root, true, [this, root, current](const tarnwell::FolderView &drive) {
        if (!drive.problem.isEmpty()) {
            m_platform.warn(QStringLiteral("Drive %1 cannot be opened: %2.").arg(root, drive.problem));
            selectDriveOf(m_dirPath); // the lists keep the folder they showed
            return;
        }
        if (current.isEmpty() || current == drive.path) {
            show(drive);
            return;
        }
        read(current, false, [this, drive](const tarnwell::FolderView &view) {
            show(view.problem.isEmpty() ? view : drive);
        });
    });
}

void ExecutablePicker::folderChanged()
{
    refreshFiles();
}

void ExecutablePicker::refreshFiles()
{
    const QString folder = m_dirPath;
    if (m_fileRefresh)
        m_fileRefresh->cancel();
    m_fileRefresh = tarnwell::runBeside<QStringList>(
        this, [folder](tarnwell::Job &) { return tarnwell::fileNames(folder); },
        [this, folder](QStringList names) {
            m_fileRefresh.reset();
            if (folder != m_dirPath)
                return;
            const QString current = m_files->currentItem() ? m_files->currentItem()->text() : QString();
            m_files->clear();
            m_files->addItems(names);
            if (const QList<QListWidgetItem *> same = m_files->findItems(current, Qt::MatchExactly); !same.isEmpty())
                m_files->setCurrentItem(same.first());
        });
}

void ExecutablePicker::fileClicked()
{
    if (const QListWidgetItem *item = m_files->currentItem())
        emit chosen(tarnwell::pickedPath(m_dirPath, item->text()), item->text());
}

QString ExecutablePicker::droppedFile(const QMimeData *data)
{
    // One local file: what the file list would offer. Whether it is a regular file is asked later,
    // beside the window: a drag must never wait for a disk.
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    return path.isEmpty() || path.endsWith(u'/') ? QString() : QDir::toNativeSeparators(path);
}

void ExecutablePicker::fillDrives()
{
    // The drives lead the list; installations found already stay after them.
    for (int i = m_drives->count() - 1; i >= 0; --i) {
        if (m_drives->itemData(i, kInstallationRole).isNull())
            m_drives->removeItem(i);
    }
    int at = 0;
    for (const tarnwell::Drive &drive : tarnwell::drives()) {
        m_drives->insertItem(at, icon(QStyle::SP_DriveHDIcon), drive.caption, drive.root);
        m_drives->setItemData(at++, QStyle::SP_DriveHDIcon, kIconRole);
        // The volume's name, and whether it is a folder at all, come from the drive itself, later.
        // A drive that has not answered by the time a folder read would be named slow keeps its bare entry.
        const QString root = drive.root;
        const tarnwell::JobHandle job = tarnwell::runBeside<tarnwell::VolumeDetails>(
            this, [root](tarnwell::Job &) { return tarnwell::volumeDetails(root); },
            [this](tarnwell::VolumeDetails details) { showVolume(details.root, details.name, details.folder); });
        QTimer::singleShot(kListingPatienceMs, this, [job] { job->cancel(); });
    }
}

void ExecutablePicker::showVolume(const QString &root, const QString &name, bool folder)
{
    const int index = m_drives->findData(root);
    if (index < 0)
        return;
    // Single files mounted into place (as containers do) are no drives.
    if (!folder && index != m_drives->currentIndex() && m_drives->itemData(index, kInstallationRole).isNull()) {
        m_drives->removeItem(index);
        return;
    }
    if (!name.isEmpty())
        m_drives->setItemText(index, m_drives->itemText(index) + QStringLiteral(" [%1]").arg(name));
}

QString ExecutablePicker::driveOf(const QString &folder) const
{
    QStringList roots;
    for (int i = 0; i < m_drives->count(); ++i)
        roots << m_drives->itemData(i).toString();
    return tarnwell::driveOf(roots, folder);
}

void ExecutablePicker::selectDriveOf(const QString &folder)
{
    const int index = m_drives->findData(driveOf(folder));
    if (index >= 0)
        m_drives->setCurrentIndex(index);
}

void ExecutablePicker::read(const QString &folder, bool asDrive, std::function<void(const tarnwell::FolderView &)> done)
{
    if (m_listing)
        m_listing->cancel(); // a newer choice wins
    m_listingPath = folder;
    m_listing = tarnwell::runBeside<tarnwell::FolderView>(
        this, [folder, asDrive](tarnwell::Job &) { return tarnwell::readFolder(folder, asDrive); },
        [this, done = std::move(done)](tarnwell::FolderView view) {
            m_listing.reset();
            m_slowListing->stop();
            done(view);
        });
    m_slowListing->start();
}

void ExecutablePicker::listingSlow()
{
    if (!m_listing)
        return;
    m_listing->cancel(); // left where it is blocked
    m_listing.reset();
    m_platform.warn(QStringLiteral("The folder %1 does not answer: its disk may be a network share that has stalled. "
                                   "The lists keep what they showed.")
                        .arg(QDir::toNativeSeparators(m_listingPath)));
}

void ExecutablePicker::openFolder(const QString &folder, std::function<void()> then, bool quiet)
{
    read(folder, false, [this, folder, quiet, then = std::move(then)](const tarnwell::FolderView &view) {
        if (!view.problem.isEmpty()) {
            if (!quiet)
                m_platform.warn(QStringLiteral("The folder %1 cannot be opened: %2.").arg(folder, view.problem));
            return;
        }
        show(view);
        if (then)
            then();
    });
}

void ExecutablePicker::show(const tarnwell::FolderView &view)
{
    m_dirPath = view.path;
    m_driveFolders.insert(driveOf(m_dirPath), m_dirPath);
    m_folders->clear();
    for (const tarnwell::FolderRow &row : view.rows) {
        // The depth is drawn as indentation, so that typing a name finds it.
        const QStyle::StandardPixmap picture = row.open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon;
        auto *item = new QListWidgetItem(icon(picture), row.name, m_folders);
        item->setData(kIconRole, picture);
        item->setData(Qt::UserRole, row.path);
        item->setData(FolderRowDelegate::DepthRole, row.depth);
        item->setToolTip(row.path);
        if (row.current) {
            m_folders->setCurrentItem(item);
            m_folders->scrollToItem(item);
        }
    }
    selectDriveOf(m_dirPath);
    m_files->clear();
    m_files->addItems(view.files);
    if (m_folderWatch && m_folderWatch->directories() != QStringList{m_dirPath}) {
        if (!m_folderWatch->directories().isEmpty())
            m_folderWatch->removePaths(m_folderWatch->directories());
        m_folderWatch->addPath(m_dirPath);
    }
}

void ExecutablePicker::setInstallations(const QList<tarnwell::Installation> &installations)
{
    for (int i = m_drives->count() - 1; i >= 0; --i) {
        if (!m_drives->itemData(i, kInstallationRole).toString().isEmpty())
            m_drives->removeItem(i);
    }
    qDeleteAll(std::exchange(m_installationActions, {}));
    for (const tarnwell::Installation &found : installations) {
        const QString &exe = found.exePath;
        m_drives->addItem(icon(QStyle::SP_DirIcon), found.caption);
        m_drives->setItemData(m_drives->count() - 1, exe, kInstallationRole);
        m_drives->setItemData(m_drives->count() - 1, exe, Qt::ToolTipRole);
        m_drives->setItemData(m_drives->count() - 1, QStyle::SP_DirIcon, kIconRole);
        auto *action = new QAction(icon(QStyle::SP_DirIcon), found.caption, this);
        action->setToolTip(exe);
        connect(action, &QAction::triggered, this, [this, exe = exe] {
            m_moved = true;
            showExecutable(exe);
        });
        m_installationActions << action;
    }
    if (m_installationActions.isEmpty())
        return;
    // The installations come after "Type a path..." in the lists' menu, set apart from it.
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    m_installationActions.prepend(separator);
    for (QWidget *list : {m_folders, m_files})
        list->addActions(m_installationActions);
}

// True when the drive list's current entry is an installation, which is then shown. The entry stays
// current, so that the arrow keys go on from it to the next one.
bool ExecutablePicker::driveIsInstallation()
{
    const QString exe = m_drives->currentData(kInstallationRole).toString();
    if (exe.isEmpty())
        return false;
    showExecutable(exe);
    return true;
}

void ExecutablePicker::showExecutable(const QString &exePath, std::function<void()> then)
{
    const QFileInfo exe(exePath);
    const int entry = m_drives->currentIndex();
    openFolder(QDir::toNativeSeparators(exe.absolutePath()), [this, exe, entry, then = std::move(then)] {
        // Reached from its entry in the drive list: that entry stays, not the drive of its folder.
        if (entry >= 0 && m_drives->itemData(entry, kInstallationRole).toString() == QDir::toNativeSeparators(exe.filePath()))
            m_drives->setCurrentIndex(entry);
        const QList<QListWidgetItem *> items = m_files->findItems(exe.fileName(), Qt::MatchExactly);
        if (!items.isEmpty()) {
            m_files->setCurrentItem(items.first()); // selected, not chosen
            m_files->scrollToItem(items.first());
        }
        if (then)
            then();
    });
}

void ExecutablePicker::typePath()
{
    if (!m_drives->isVisible())
        return;
    m_pathEdit->setGeometry(m_drives->rect());
    if (m_pathEdit->isHidden())
        m_pathEdit->setText(m_dirPath);
    m_pathEdit->selectAll();
    m_pathEdit->show();
    m_pathEdit->raise();
    m_pathEdit->setFocus();
}

void ExecutablePicker::openTypedPath()
{
    QString typed = m_pathEdit->text();
    if (typed.startsWith(QLatin1String("file:"))) { // pasted from a file manager
        QUrl url(typed);
        if (url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
            url.setHost(QString()); // this machine's own name for itself
        typed = url.toLocalFile();
    } else if (typed == u'~' || typed.startsWith(QLatin1String("~/"))) {
        typed = m_platform.homeFolder() + typed.mid(1);
    }
    const QString path = QDir::toNativeSeparators(QDir(m_dirPath).filePath(typed)); // relative to the open folder
    m_moved = true;
    m_typedCheck = tarnwell::runBeside<TypedPath>(
        this, [path](tarnwell::Job &) { return inspectTyped(path); },
        [this, path](TypedPath what) {
            m_typedCheck.reset();
            if (what.kind == TypedPath::Nothing) { // the text stays, to be mended
                m_platform.warn(QStringLiteral("%1 cannot be opened: %2.").arg(path, what.why));
                m_pathEdit->setFocus();
                return;
            }
            closePathEdit();
            const QFileInfo info(path);
            if (what.kind == TypedPath::Folder) {
                openFolder(path, [this] { m_files->setFocus(); });
                return;
            }
            openFolder(QDir::toNativeSeparators(info.absolutePath()), [this, name = info.fileName()] {
                m_files->setFocus();
                const QList<QListWidgetItem *> items = m_files->findItems(name, Qt::MatchExactly);
                if (!items.isEmpty()) {
                    m_files->setCurrentItem(items.first());
                    fileClicked(); // as a click on it
                }
            });
        });
}

void ExecutablePicker::findInstallations(bool now, std::function<bool()> waitAtFirst)
{
    m_searching = true;
    const auto begin = [this, wait = std::move(waitAtFirst)] {
        const QString home = m_platform.homeFolder();
        // What was found so far, for when a disk does not answer and the search never comes back.
        struct SoFar {
            std::mutex mutex;
            QList<tarnwell::Installation> found;
        };
        const auto soFar = std::make_shared<SoFar>();
        const tarnwell::JobHandle search = tarnwell::runBeside<tarnwell::Discovery>(
            this,
            [home, soFar](tarnwell::Job &job) {
                return tarnwell::findInstallations(home, tarnwell::systemPlaces(), {},
                                                   [&job] { return job.cancelled(); },
                                                   [soFar](const tarnwell::Installation &one) {
                                                       const std::lock_guard lock(soFar->mutex);
                                                       soFar->found.append(one);
                                                   });
            },
            [this, wait](tarnwell::Discovery found) { installationsFound(found, wait); });
        m_search = search;
        // The search keeps its own time only between calls to the file system; one that never returns
        // is given up here, with what it found before.
        const int patience = tarnwell::DiscoveryLimits{}.milliseconds + kSearchGraceMs;
        QTimer::singleShot(patience, this, [this, search, soFar, wait, patience] {
            if (m_search != search)
                return; // it ended, or another took its place
            search->cancel();
            tarnwell::Discovery partial;
            {
                const std::lock_guard lock(soFar->mutex);
                partial.found = soFar->found;
            }
            partial.cutShort << QStringLiteral("a folder did not answer within %1 seconds").arg(patience / 1000);
            installationsFound(partial, wait);
        });
    };
    if (now)
        begin();
    else
        afterFirstPaint(m_drives->window(), this, begin);
}

void ExecutablePicker::installationsFound(const tarnwell::Discovery &found, const std::function<bool()> &waitAtFirst)
{
    m_search.reset();
    m_searching = false;
    setInstallations(found.found);
    // A bound that cut the search short is said where the installations are listed.
    m_drives->setToolTip(found.cutShort.isEmpty()
                             ? QString()
                             : QStringLiteral("The search for installations stopped early (%1), so some may be "
                                              "missing here: open their folders yourself.")
                                   .arg(found.cutShort.join(QStringLiteral("; "))));
    // Enter on the file, and Yes, then register it.
    if (!found.found.isEmpty() && !m_moved && waitAtFirst())
        showExecutable(found.found.first().exePath, [this] { m_files->setFocus(Qt::OtherFocusReason); });
}
