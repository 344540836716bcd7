// SPDX-License-Identifier: MIT
#include "platform/desktopplatform.h"

#include "maintenance/command.h"
#include "maintenance/commandrunner.h"
#include "files/pathcase.h"
#include "files/toolfiles.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

QString DesktopPlatform::programFolder() const
{
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

QString DesktopPlatform::homeFolder() const
{
    return QDir::homePath();
}

bool DesktopPlatform::fileExists(const QString &path) const
{
    return tarnwell::fileExists(path);
}

std::unique_ptr<QMessageBox> DesktopPlatform::makeMessageBox(const QString &prompt, MessageOptions options,
                                                             const QString &title) const
{
    QWidget *owner = m_window ? m_window->window() : QApplication::activeWindow();
    // A box asked for before the window shows (the start-up prompt) is centred where the window
    // will appear: the middle of its screen.
    if (owner && !owner->isVisible() && !owner->testAttribute(Qt::WA_Moved)) {
        QRect place = owner->frameGeometry();
        place.moveCenter(owner->screen()->availableGeometry().center());
        owner->move(place.topLeft());
    }
    auto box = std::make_unique<QMessageBox>(owner);
    box->setWindowTitle(title.isEmpty() ? QStringLiteral("Tarnwell") : title);
    box->setWindowIcon(owner ? owner->windowIcon() : QApplication::windowIcon());
    // Prompts carry file names, paths and release names: a "<" in them is shown, never obeyed.
    box->setTextFormat(Qt::PlainText);
    box->setText(prompt);
    if (options.testFlag(Critical))
        box->setIcon(QMessageBox::Critical);
    else if (options.testFlag(Question))
        box->setIcon(QMessageBox::Question);
    else if (options.testFlag(Exclamation))
        box->setIcon(QMessageBox::Warning);
    else if (options.testFlag(Information))
        box->setIcon(QMessageBox::Information);
    // The frame does not widen a box for its title: a short prompt under a long title cut it off.
    const int titleWidth = QFontMetrics(QApplication::font("QMdiSubWindowTitleBar")).horizontalAdvance(box->windowTitle());
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(titleWidth + 160, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0,
                      1, grid->columnCount());
    if (options.testFlag(YesNo)) {
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(options.testFlag(DefaultNo) ? QMessageBox::No : QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
    } else {
        box->setStandardButtons(QMessageBox::Ok);
    }
    return box;
}

Platform::Answer DesktopPlatform::messageBox(const QString &prompt, MessageOptions options, const QString &title)
{
    const std::unique_ptr<QMessageBox> box = makeMessageBox(prompt, options, title);
    const int pressed = box->exec();
    if (options.testFlag(YesNo))
        return pressed == QMessageBox::Yes ? Yes : No;
    return Ok;
}

std::unique_ptr<QMessageBox> DesktopPlatform::makeQuestionBox(const QString &prompt, const QStringList &buttons,
                                                              const QString &title) const
{
    std::unique_ptr<QMessageBox> box = makeMessageBox(prompt, Question, title);
    box->setStandardButtons(QMessageBox::NoButton);
    QPushButton *last = nullptr;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        last = box->addButton(buttons[i], i + 1 == buttons.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
        last->setProperty("answer", int(i)); // the box lays its buttons out in an order of its own
    }
    if (last) {
        box->setDefaultButton(last);
        box->setEscapeButton(last);
    }
    return box;
}

int DesktopPlatform::question(const QString &prompt, const QStringList &buttons, const QString &title)
{
    const std::unique_ptr<QMessageBox> box = makeQuestionBox(prompt, buttons, title);
    box->exec();
    const QAbstractButton *clicked = box->clickedButton();
    return clicked ? clicked->property("answer").toInt() : int(buttons.size()) - 1;
}

void DesktopPlatform::runCommand(const tarnwell::Command &command, const tarnwell::CommandDone &done)
{
    tarnwell::runDetached(command, done);
}

void DesktopPlatform::setClipboardText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void DesktopPlatform::closeWindow(QWidget *window)
{
    window->close();
}

std::unique_ptr<QInputDialog> DesktopPlatform::makeChoiceDialog(const QString &title, const QString &prompt,
                                                                 const QStringList &items, int selected) const
{
    auto dialog = std::make_unique<QInputDialog>(m_window ? m_window->window() : QApplication::activeWindow());
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog->setComboBoxItems(items);
    // By its row, not its text: two items may read alike.
    if (auto *list = dialog->findChild<QListView *>(); list && selected >= 0 && selected < items.size())
        list->setCurrentIndex(list->model()->index(selected, 0));
    // Wide enough for the longest item, as far as the screen allows: items end in full paths.
    int widest = 0;
    for (const QString &item : items)
        widest = qMax(widest, dialog->fontMetrics().horizontalAdvance(item));
    const QRect screen = dialog->screen()->availableGeometry();
    dialog->resize(qBound(480, widest + 80, screen.width() * 9 / 10), qBound(240, 120 + 20 * int(items.size()), 480));
    return dialog;
}

int DesktopPlatform::choose(const QString &title, const QString &prompt, const QStringList &items, int selected)
{
    const std::unique_ptr<QInputDialog> dialog = makeChoiceDialog(title, prompt, items, selected);
    if (dialog->exec() != QDialog::Accepted)
        return -1;
    const QListView *list = dialog->findChild<QListView *>();
    return list && list->currentIndex().isValid() ? list->currentIndex().row() : int(items.indexOf(dialog->textValue()));
}

bool DesktopPlatform::askText(const QString &title, const QString &prompt, QString &text)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(m_window ? m_window->window() : QApplication::activeWindow(), title,
                                                 prompt, QLineEdit::Normal, text, &ok);
    if (ok)
        text = answer;
    return ok;
}

QString DesktopPlatform::backupFolder() const
{
    return tarnwell::backupsFolder();
}

QString DesktopPlatform::toolFolder() const
{
    return tarnwell::userToolFolder();
}

QList<int> DesktopPlatform::chooseSeveral(const QString &title, const QString &prompt, const QStringList &items)
{
    QDialog dialog(m_window ? m_window->window() : QApplication::activeWindow());
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(prompt, &dialog));
    auto *list = new QListWidget(&dialog);
    for (const QString &item : items) {
        auto *row = new QListWidgetItem(item, list);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        row->setCheckState(Qt::Unchecked);
    }
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(420, 480);
    QList<int> chosen;
    if (dialog.exec() != QDialog::Accepted)
        return chosen;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            chosen << i;
    }
    return chosen;
}

QString DesktopPlatform::chooseFile(const QString &title, FileUse use, const QString &suggested, const QString &filter)
{
    QWidget *parent = m_window ? m_window->window() : QApplication::activeWindow();
    const QString path = use == FileUse::Open ? QFileDialog::getOpenFileName(parent, title, suggested, filter)
                                              : QFileDialog::getSaveFileName(parent, title, suggested, filter);
    return QDir::toNativeSeparators(path);
}
