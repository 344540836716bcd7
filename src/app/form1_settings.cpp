// SPDX-License-Identifier: MIT
// Reading the game's settings files into the controls and writing them back.
#include "form1.h"

#include "files/backups.h"
#include "files/pathcase.h"
#include "platform/platform.h"
#include "settings/settingswriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace {

// The window's controls, found by the object names that the catalogue gives.
class WindowControls final : public tarnwell::SettingsControls
{
public:
    explicit WindowControls(QWidget &window) : m_window(window) {}

    bool isChecked(QLatin1String control) const override
    {
        const auto *box = find<QCheckBox>(control);
        return box && box->isChecked();
    }

    void setChecked(QLatin1String control, bool checked) override
    {
        // setChecked() does not emit `clicked`, so the FullScreen/Borderless rule stays out of it.
        if (auto *box = find<QCheckBox>(control))
            box->setChecked(checked);
    }

    QString text(QLatin1String control) const override
    {
        if (const auto *edit = find<QLineEdit>(control))
            return edit->text();
        if (const auto *list = find<QComboBox>(control))
            return list->currentText();
        return {};
    }

    void setText(QLatin1String control, const QString &text) override
    {
        if (auto *edit = find<QLineEdit>(control)) {
            edit->setText(text);
        } else if (auto *list = find<QComboBox>(control)) {
            const int entry = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (entry >= 0)
                list->setCurrentIndex(entry);
            list->setEditText(text);
        }
    }

    QString settingName(QLatin1String control) const override
    {
        const auto *widget = find<QWidget>(control);
        return widget && !widget->accessibleName().isEmpty() ? widget->accessibleName() : QString(control);
    }

private:
    template <typename Control>
    Control *find(QLatin1String name) const
    {
        return m_window.findChild<Control *>(QString(name), Qt::FindDirectChildrenOnly);
    }

    QWidget &m_window;
};

class WindowQuestions final : public tarnwell::WriteQuestions
{
public:
    explicit WindowQuestions(Platform &platform) : m_platform(platform) {}

    bool overwriteChanged(const QString &path) override
    {
        return ask(QStringLiteral("%1\n\nThis settings file has changed since it was read (the game rewrites it when "
                                  "it exits).\n\nWrite your settings into it anyway? Everything else it holds now is "
                                  "kept."),
                   path);
    }

    bool writeReadOnly(const QString &path) override
    {
        return ask(QStringLiteral("%1\n\nThis settings file is read-only.\n\nWrite it anyway? It stays read-only "
                                  "afterwards."),
                   path);
    }

    QString beforeReplace(const QString &path) override
    {
        return tarnwell::backUpFile(m_platform.backupFolder(), path).problem;
    }

private:
    bool ask(const QString &prompt, const QString &path)
    {
        return m_platform.messageBox(prompt.arg(QDir::toNativeSeparators(path)), Platform::YesNo + Platform::Question)
            == Platform::Yes;
    }

    Platform &m_platform;
};

} // namespace

void Form1::ReadConfig()
{
    using namespace tarnwell;
    WindowControls controls(*this);
    m_readValues.clear();
    if (GameFolder.isEmpty()) {
        // Paths formed from an empty folder would name files below the working folder: no game's.
        GraphicsSettingsPath.clear();
        UserSettingsPath.clear();
        m_graphicsState = readSettingsFile(QString(), false, GraphicsLines);
        m_userState = readSettingsFile(QString(), false, UserLines);
        return;
    }

    GraphicsSettingsPath = GameFolder + native(QStringLiteral("Binaries/SETTINGS/TKGRAPHICSSETTINGS.MXML"));
    m_graphicsState = readSettingsFile(GraphicsSettingsPath, true, GraphicsLines);
    showValues(GraphicsLines, SettingsFile::Graphics, controls, m_readValues, ResWidth, ResHeight);

    UserSettingsPath = GameFolder + native(QStringLiteral("Binaries/SETTINGS/GCUSERSETTINGSDATA.MXML"));
    m_userState = readSettingsFile(UserSettingsPath, true, UserLines);
    showValues(UserLines, SettingsFile::User, controls, m_readValues, ResWidth, ResHeight);

    const QString problems = readProblems({{GraphicsSettingsPath, m_graphicsState}, {UserSettingsPath, m_userState}});
    if (!problems.isEmpty())
        warn(problems);
}

bool Form1::WriteConfig()
{
    using namespace tarnwell;
    // The resolution is cut at every "Apply", whatever is written after it.
    splitResolution(combo(1)->currentText(), ResWidth, ResHeight);
    if (GameFolder.isEmpty() || m_graphicsState.state == ReadState::NoGameFolder) {
        warn(noGameFolderReason() + QStringLiteral(", so no settings were written."));
        return false;
    }

    const bool graphics = m_graphicsState.state == ReadState::Read;
    const bool user = m_userState.state == ReadState::Read;
    const CollectedValues collected = collectValues(WindowControls(*this), m_readValues, graphics, user, ResWidth,
                                                    ResHeight);
    if (!collected.refusal.isEmpty()) {
        warn(collected.refusal);
        return false;
    }

    WindowQuestions ask(m_platform);
    const FileOutcome graphicsOutcome = writeSettingsFile(GraphicsSettingsPath, m_graphicsState, SettingsFile::Graphics,
                                                          GraphicsLines, collected.values, ask);
    const FileOutcome userOutcome = writeSettingsFile(UserSettingsPath, m_userState, SettingsFile::User, UserLines,
                                                      collected.values, ask);
    const ApplyReport report = applyReport({{GraphicsSettingsPath, graphicsOutcome}, {UserSettingsPath, userOutcome}});
    if (!report.ok)
        m_platform.messageBox(report.message, report.failed ? Platform::Critical : Platform::Exclamation);
    return report.ok;
}
