// SPDX-License-Identifier: MIT
// Fixture of the settings tests: temporary game folders and the window's controls.
#include "tst_settings.h"

#include "common/systemtest.h"

#include <QProcess>

const QByteArray kGraphics = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Data template=\"GcGraphicsSettings\">\n"
    + prop("\t", "Brightness", "120") + "\n" + prop("\t", "DLSSQuality", "Balanced") + "\n"
    + prop("\t", "UseHDR", "false") + "\n</Data>\n";
const QByteArray kUser = "<Data template=\"GcUserSettingsData\">\n" + prop("\t", "MusicVolume", "50") + "\n</Data>\n";

void setControl(Form1 *form, const QString &setting)
{
    QWidget *widget = form->findChild<QWidget *>(setting.section('=', 0, 0));
    const QString value = setting.section('=', 1);
    QVERIFY2(widget, qPrintable(setting));
    if (auto *box = qobject_cast<QCheckBox *>(widget); box && box->isChecked() != (value == "1"))
        QTest::mouseClick(box, Qt::LeftButton); // as the user does it
    else if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->setText(value);
    else if (auto *combo = qobject_cast<QComboBox *>(widget))
        combo->setEditText(value);
}

QString controlValue(Form1 *form, const QString &control)
{
    QWidget *widget = form->findChild<QWidget *>(control);
    if (auto *box = qobject_cast<QCheckBox *>(widget))
        return box->isChecked() ? "1" : "0";
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    return widget ? qobject_cast<QComboBox *>(widget)->currentText() : "no control " + control;
}

void TestSettings::init()
{
    m_w = std::make_unique<testsupport::TestWindow>();
    QFile::setPermissions(m_w->dir.path(), QFileDevice::Permissions(0x7777)); // another user may run a test in here
}

void TestSettings::cleanup()
{
    m_w->form.reset();
    for (const QString &path : std::exchange(m_immutable, {}))
        QProcess::execute("chattr", {"-i", path});
    if (!m_unmount.isEmpty())
        testsupport::unmount(std::exchange(m_unmount, {}));
    m_w.reset();
}

void TestSettings::writeGame(const QByteArray &graphics, const QByteArray &user)
{
    QVERIFY(QDir().mkpath(settingsFolder()));
    QVERIFY(graphics.isNull() || writeFile(graphicsPath(), graphics));
    QVERIFY(user.isNull() || writeFile(userPath(), user));
}

void TestSettings::startForm()
{
    QVERIFY(m_w->start());
    m_w->platform.messages.clear();
}

void TestSettings::loadGame()
{
    if (!m_w->form)
        startForm();
    m_w->loadGame(gameFolder());
}

QTEST_MAIN(TestSettings)
