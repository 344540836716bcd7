// SPDX-License-Identifier: MIT
#include "common/testsupport.h"

#include <QDirIterator>

namespace testsupport {

bool copySampleGame(const QString &game)
{
    const QString from = TARNWELL_SOURCE_DIR "/examples/Quillvane";
    for (QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString source = it.next(), target = game + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

bool makeProgramFolder(const QString &program, const QString &exe)
{
    return QDir().mkpath(program + "/dat") && QFile::copy(TARNWELL_SOURCE_DIR "/dat/QVX.dat", program + "/dat/QVX.dat")
        && (exe.isEmpty() || writeFile(program + "/Tarnwell.dat", "QVXEXE=" + exe.toUtf8() + "\r\n"));
}

bool start(Form1 &form, bool waitForCheck)
{
    form.Form_Load();
    if (!form.isClosed()) {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return false;
    }
    // The picker's first folder is read beside the window, as the check is.
    return form.isClosed()
        || (QTest::qWaitFor([&form] { return !form.isReadingFolder(); }, 10000)
            && (!waitForCheck || QTest::qWaitFor([&form] { return !form.isChecking(); }, 10000)));
}

bool clickItem(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> items = list->findItems(text, Qt::MatchExactly);
    if (items.size() != 1)
        return false;
    list->scrollToItem(items[0]);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
    return true;
}

bool openFolder(Form1 &form, const QString &path)
{
    QStringList steps; // the root ("/", "C:\\"), then each folder down to `path`, as Dir1 names them
    for (QDir walker(QDir::cleanPath(path));;) {
        steps.prepend(nativePath(walker.absolutePath()));
        if (walker.isRoot() || !walker.cdUp())
            break;
    }
    for (const QString &step : steps) {
        QListWidgetItem *row = nullptr;
        for (int i = 0; i < form.Dir1->count() && !row; ++i)
            row = form.Dir1->item(i)->data(Qt::UserRole).toString() == step ? form.Dir1->item(i) : nullptr;
        if (!row) {
            qWarning("no folder row for %s", qPrintable(step));
            return false;
        }
        form.Dir1->scrollToItem(row);
        const QPoint at = form.Dir1->visualItemRect(row).center();
        QTest::mouseClick(form.Dir1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form.Dir1->viewport(), Qt::LeftButton, {}, at);
        if (!QTest::qWaitFor([&] { return !form.isReadingFolder() && dir1Path(form) == step; }, 10000))
            return false;
    }
    return true;
}

QString dir1Path(const Form1 &form)
{
    return form.Dir1->currentItem() ? form.Dir1->currentItem()->data(Qt::UserRole).toString() : QString();
}

void TestWindow::loadGame(const QString &folder)
{
    // As the picker gives them: with the system's separators.
    form->GameExePath = nativePath(folder + "Binaries/QVX.EXE");
    form->GameFolder = nativePath(folder);
    form->ReadConfig();
}

} // namespace testsupport
