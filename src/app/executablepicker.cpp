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
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPixmap>
#include <QShortcut>
#include <QStyle>
#include <QUrl>

#include <utility>

namespace {

// The drive list's entries for installations carry the executable here; drives carry their root in UserRole.
constexpr int kInstallationRole = Qt::UserRole + 1;
// Every entry of the lists carries the style's picture it shows, a QStyle::StandardPixmap, here.
constexpr int kIconRole = Qt::UserRole + 2;

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

} // namespace

ExecutablePicker::ExecutablePicker(Platform &platform, QWidget *window)
    : QObject(window)
    , m_platform(platform)
{
    createControls(window);
    // The style's pictures are read from files through every image reader Qt has, which would hold
    // back the window's first frame: they come right after it, and the entries keep a blank of their
    // size until then.
    const int side = m_folders->style()->pixelMetric(QStyle::PM_SmallIconSize);
    QPixmap blank(side, side);
    blank.fill(Qt::transparent);
    m_blankIcon = QIcon(blank);
    afterFirstPaint(window, this, [this] { showIcons(); });
}

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

ExecutablePicker::~ExecutablePicker() = default; // a search still running is stopped and waited for

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
}

void ExecutablePicker::start()
{
    connectControls();
    createPathEdit(m_drives->parentWidget());
    fillDrives();
    // The home folder, or the first drive where there is none to open; nothing to report either way.
    const QString home = QDir::homePath();
    openFolder(tarnwell::folderProblem(home).isEmpty() ? home : m_drives->itemData(0).toString());
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
        if (folder != m_dirPath)
            return;
        const QString chosen = m_files->currentItem() ? m_files->currentItem()->text() : QString();
        folderChanged();
        if (const QList<QListWidgetItem *> same = m_files->findItems(chosen, Qt::MatchExactly); !same.isEmpty())
            m_files->setCurrentItem(same.first());
    });
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
    connect(m_pathEdit, &QLineEdit::returnPressed, this, &ExecutablePicker::openTypedPath);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_pathEdit, nullptr, nullptr, Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        m_pathEdit->hide();
        m_files->setFocus();
    });
}

void ExecutablePicker::driveChanged()
{
    if (driveIsInstallation())
        return;
    const QString root = m_drives->currentData().toString();
    const QString problem = tarnwell::driveProblem(root);
    if (!problem.isEmpty()) {
        m_platform.warn(QStringLiteral("Drive %1 cannot be opened: %2.").arg(root, problem));
        selectDriveOf(m_dirPath); // the lists keep the folder they showed
        return;
    }
    // The drive's current folder: the one last shown on it during this run, else its root.
    const QString current = m_driveFolders.value(root);
    openFolder(!current.isEmpty() && tarnwell::folderProblem(current).isEmpty() ? current : root);
}

void ExecutablePicker::folderChanged()
{
    m_files->clear();
    m_files->addItems(tarnwell::fileNames(m_dirPath));
    if (m_folderWatch && m_folderWatch->directories() != QStringList{m_dirPath}) {
        if (!m_folderWatch->directories().isEmpty())
            m_folderWatch->removePaths(m_folderWatch->directories());
        m_folderWatch->addPath(m_dirPath);
    }
}

void ExecutablePicker::fileClicked()
{
    if (const QListWidgetItem *item = m_files->currentItem())
        emit chosen(tarnwell::pickedPath(m_dirPath, item->text()), item->text());
}

QString ExecutablePicker::droppedFile(const QMimeData *data)
{
    // One local regular file: what the file list would offer.
    const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QString path = urls.first().toLocalFile();
    return QFileInfo(path).isFile() ? QDir::toNativeSeparators(path) : QString(); // no pipe, device or folder
}

void ExecutablePicker::fillDrives()
{
    m_drives->clear();
    for (const tarnwell::Drive &drive : tarnwell::drives()) {
        m_drives->addItem(icon(QStyle::SP_DriveHDIcon), drive.caption, drive.root);
        m_drives->setItemData(m_drives->count() - 1, QStyle::SP_DriveHDIcon, kIconRole);
    }
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

bool ExecutablePicker::openFolder(const QString &folder)
{
    const QString problem = tarnwell::folderProblem(folder);
    if (!problem.isEmpty()) {
        m_platform.warn(QStringLiteral("The folder %1 cannot be opened: %2.").arg(folder, problem));
        return false;
    }
    m_dirPath = tarnwell::folderPath(folder);
    m_driveFolders.insert(driveOf(m_dirPath), m_dirPath);
    showFolderRows();
    selectDriveOf(m_dirPath);
    folderChanged();
    return true;
}

void ExecutablePicker::showFolderRows()
{
    m_folders->clear();
    for (const tarnwell::FolderRow &row : tarnwell::folderRows(m_dirPath)) {
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

// True when the drive list's current entry is an installation, which is then shown.
bool ExecutablePicker::driveIsInstallation()
{
    const QString exe = m_drives->currentData(kInstallationRole).toString();
    if (exe.isEmpty())
        return false;
    showExecutable(exe);
    selectDriveOf(m_dirPath); // the list shows the drive of the folder, as after any move
    return true;
}

void ExecutablePicker::showExecutable(const QString &exePath)
{
    const QFileInfo exe(exePath);
    if (!openFolder(QDir::toNativeSeparators(exe.absolutePath())))
        return;
    const QList<QListWidgetItem *> items = m_files->findItems(exe.fileName(), Qt::MatchExactly);
    if (!items.isEmpty()) {
        m_files->setCurrentItem(items.first()); // selected, not chosen
        m_files->scrollToItem(items.first());
    }
}

void ExecutablePicker::typePath()
{
    if (!m_drives->isVisible())
        return;
    m_pathEdit->setGeometry(m_drives->rect());
    m_pathEdit->setText(m_dirPath);
    m_pathEdit->selectAll();
    m_pathEdit->show();
    m_pathEdit->raise();
    m_pathEdit->setFocus();
}

void ExecutablePicker::openTypedPath()
{
    QString typed = m_pathEdit->text();
    if (typed.startsWith(QLatin1String("file:")))
        typed = QUrl(typed).toLocalFile(); // pasted from a file manager
    else if (typed == u'~' || typed.startsWith(QLatin1String("~/")))
        typed = m_platform.homeFolder() + typed.mid(1);
    m_pathEdit->hide();
    const QString path = QDir::toNativeSeparators(QDir(m_dirPath).filePath(typed)); // relative to the open folder
    const QFileInfo info(path);
    m_moved = true;
    if (info.isDir()) {
        openFolder(path);
        m_files->setFocus();
        return;
    }
    if (!info.isFile()) { // nothing there, or a pipe or device, which is never opened
        const QString odd = tarnwell::notRegularReason(path);
        const QString why = odd.isEmpty() ? QStringLiteral("nothing is there") : odd;
        m_platform.warn(QStringLiteral("%1 cannot be opened: %2.").arg(path, why));
        return;
    }
    if (!openFolder(QDir::toNativeSeparators(info.absolutePath())))
        return;
    m_files->setFocus();
    const QList<QListWidgetItem *> items = m_files->findItems(info.fileName(), Qt::MatchExactly);
    if (!items.isEmpty()) {
        m_files->setCurrentItem(items.first());
        fileClicked(); // as a click on it
    }
}

void ExecutablePicker::findInstallations(bool now, std::function<bool()> waitAtFirst)
{
    m_search = std::make_unique<tarnwell::DiscoveryTask>(m_platform.homeFolder());
    connect(m_search.get(), &tarnwell::DiscoveryTask::finished, this,
            [this, wait = std::move(waitAtFirst)] { installationsFound(wait); });
    if (now)
        m_search->start();
    else
        afterFirstPaint(m_drives->window(), m_search.get(), [task = m_search.get()] { task->start(); });
}

void ExecutablePicker::installationsFound(const std::function<bool()> &waitAtFirst)
{
    const QList<tarnwell::Installation> found = m_search->result();
    m_search.release()->deleteLater(); // it is the sender of this very call
    setInstallations(found);
    // One click and Yes then register it.
    if (!found.isEmpty() && !m_moved && waitAtFirst())
        showExecutable(found.first().exePath);
}
