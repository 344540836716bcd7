// SPDX-License-Identifier: MIT
// Fixture of the settings tests: temporary game folders and the window's controls.
#include "tst_settings.h"

#include "common/systemtest.h"

#include <QProcess>
#include <QTemporaryDir>

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
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7777)); // another user may run a test in here
    m_platform = std::make_unique<FakePlatform>();
    m_platform->folder = m_dir->path();
}

void TestSettings::cleanup()
{
    m_form.reset();
    for (const QString &path : std::exchange(m_immutable, {}))
        QProcess::execute("chattr", {"-i", path});
    if (!m_unmount.isEmpty())
        testsupport::unmount(std::exchange(m_unmount, {}));
    m_platform.reset();
    m_dir.reset();
}

void TestSettings::writeGame(const QByteArray &graphics, const QByteArray &user)
{
    QVERIFY(QDir().mkpath(settingsFolder()));
    QVERIFY(graphics.isNull() || writeFile(graphicsPath(), graphics));
    QVERIFY(user.isNull() || writeFile(userPath(), user));
}

void TestSettings::startForm()
{
    m_form = std::make_unique<Form1>(*m_platform);
    QVERIFY(testsupport::start(*m_form));
    m_platform->messages.clear();
}

void TestSettings::loadGame()
{
    if (!m_form)
        startForm();
    m_form->GameFolder = gameFolder();
    m_form->ReadConfig();
}

QTEST_MAIN(TestSettings)
