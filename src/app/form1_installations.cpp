// SPDX-License-Identifier: MIT
// The game's installations found beside the window, and paths typed into the picker.
#include "form1.h"

#include "files/openfile.h"
#include "firstpaint.h"
#include "platform/platform.h"
#include "registration/discovery.h"
#include "registration/folderlist.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QShortcut>
#include <QStyle>
#include <QUrl>

namespace {
// Drive1's entries for installations carry the executable here; drives carry their root in UserRole.
constexpr int kInstallationRole = Qt::UserRole + 1;
} // namespace

void Form1::startDiscovery(bool now)
{
    m_discovery = std::make_unique<tarnwell::DiscoveryTask>(m_platform.homeFolder());
    connect(m_discovery.get(), &tarnwell::DiscoveryTask::finished, this, &Form1::installationsFound);
    if (now) {
        m_discovery->start();
        return;
    }
    afterFirstPaint(this, m_discovery.get(), [task = m_discovery.get()] { task->start(); });
}

void Form1::createPathEdit()
{
    // The picker's own menu; Ctrl+L as file dialogs have it. No control is added or moved: the edit
    // field lies over the drive list, and shows only while it is in use.
    auto *typePath = new QAction(QStringLiteral("Type a path...\tCtrl+L"), this);
    connect(typePath, &QAction::triggered, this, &Form1::TypePath);
    auto *shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    connect(shortcut, &QShortcut::activated, this, &Form1::TypePath);
    for (QWidget *list : {static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)}) {
        list->addAction(typePath);
        list->setContextMenuPolicy(Qt::ActionsContextMenu);
    }
    m_pathEdit = new QLineEdit(Drive1);
    m_pathEdit->setObjectName(QStringLiteral("PathEdit"));
    m_pathEdit->setAccessibleName(QStringLiteral("Path"));
    m_pathEdit->hide();
    connect(m_pathEdit, &QLineEdit::returnPressed, this, &Form1::openTypedPath);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), m_pathEdit, nullptr, nullptr, Qt::WidgetShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        m_pathEdit->hide();
        File1->setFocus();
    });
}

void Form1::installationsFound()
{
    m_installations.clear();
    for (const tarnwell::Installation &found : m_discovery->result())
        m_installations.append({found.caption, found.exePath});
    m_discovery.release()->deleteLater(); // it is the sender of this very call
    addInstallationEntries();
    // With nothing registered yet the picker waits at the first one found: one click and Yes register it.
    if (GameExePath.isEmpty() && !m_pickerMoved && !m_installations.isEmpty())
        showInstallation(m_installations.first().second);
}

void Form1::addInstallationEntries()
{
    for (int i = Drive1->count() - 1; i >= 0; --i) {
        if (!Drive1->itemData(i, kInstallationRole).toString().isEmpty())
            Drive1->removeItem(i);
    }
    for (QAction *action : std::exchange(m_installationActions, {}))
        delete action;
    const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const auto &installation : m_installations) {
        const QString &caption = installation.first, &exe = installation.second;
        Drive1->addItem(icon, caption);
        Drive1->setItemData(Drive1->count() - 1, exe, kInstallationRole);
        Drive1->setItemData(Drive1->count() - 1, exe, Qt::ToolTipRole);
        auto *action = new QAction(icon, caption, this);
        action->setToolTip(exe);
        connect(action, &QAction::triggered, this, [this, exe] {
            m_pickerMoved = true;
            showInstallation(exe);
        });
        m_installationActions << action;
    }
    if (m_installationActions.isEmpty())
        return;
    // The installations come after "Type a path..." in the lists' menu, set apart from it.
    auto *separator = new QAction(this);
    separator->setSeparator(true);
    m_installationActions.prepend(separator);
    for (QWidget *list : {static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)})
        list->addActions(m_installationActions);
}

// True when Drive1's current entry is an installation, which is then shown.
bool Form1::driveIsInstallation()
{
    const QString exe = Drive1->currentData(kInstallationRole).toString();
    if (exe.isEmpty())
        return false;
    showInstallation(exe);
    selectDriveOf(m_dirPath); // the list shows the drive of the folder, as after any move
    return true;
}

void Form1::showInstallation(const QString &exePath)
{
    const QFileInfo exe(exePath);
    if (!openFolder(QDir::toNativeSeparators(exe.absolutePath())))
        return;
    const QList<QListWidgetItem *> items = File1->findItems(exe.fileName(), Qt::MatchExactly);
    if (!items.isEmpty()) {
        File1->setCurrentItem(items.first()); // selected, not confirmed
        File1->scrollToItem(items.first());
    }
}

void Form1::TypePath()
{
    if (!Drive1->isVisible())
        return;
    m_pathEdit->setGeometry(Drive1->rect());
    m_pathEdit->setText(m_dirPath);
    m_pathEdit->selectAll();
    m_pathEdit->show();
    m_pathEdit->raise();
    m_pathEdit->setFocus();
}

void Form1::openTypedPath()
{
    QString typed = m_pathEdit->text();
    if (typed.startsWith(QLatin1String("file:")))
        typed = QUrl(typed).toLocalFile(); // pasted from a file manager
    else if (typed == u'~' || typed.startsWith(QLatin1String("~/")))
        typed = m_platform.homeFolder() + typed.mid(1);
    m_pathEdit->hide();
    const QString path = QDir::toNativeSeparators(QDir(m_dirPath).filePath(typed)); // relative to the open folder
    const QFileInfo info(path);
    m_pickerMoved = true;
    if (info.isDir()) {
        openFolder(path);
        File1->setFocus();
        return;
    }
    if (!info.isFile()) { // nothing there, or a pipe or device, which is never opened
        const QString odd = tarnwell::notRegularReason(path);
        warn(QStringLiteral("%1 cannot be opened: %2.").arg(path, odd.isEmpty() ? QStringLiteral("nothing is there") : odd));
        return;
    }
    if (!openFolder(QDir::toNativeSeparators(info.absolutePath())))
        return;
    File1->setFocus();
    const QList<QListWidgetItem *> items = File1->findItems(info.fileName(), Qt::MatchExactly);
    if (!items.isEmpty()) {
        File1->setCurrentItem(items.first());
        File1_Click(); // as a click on it
    }
}
