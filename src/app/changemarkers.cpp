// SPDX-License-Identifier: MIT
#include "changemarkers.h"

#include "accessibility.h"

#include "platform/platform.h"

#include "settings/catalogue.h"
#include "settings/pendingchanges.h"
#include "settings/settingssession.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QSet>
#include <QTimer>

namespace {

// A small orange corner in the top left of a control, as a spreadsheet marks a cell: the status's
// orange with a dark edge, seen on a white box and a grey one alike. Inside the control, it takes
// no place of the window's.
class Marker : public QWidget
{
public:
    static constexpr int kSize = 7;

    explicit Marker(QWidget *control) : QWidget(control)
    {
        setObjectName(control->objectName() + QStringLiteral("Changed"));
        setAccessibleName(QStringLiteral("Changed"));
        setAttribute(Qt::WA_TransparentForMouseEvents); // a click goes to the control below
        setFocusPolicy(Qt::NoFocus);
        setGeometry(0, 0, kSize, kSize);
        hide();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x40, 0x20, 0x00), 1));
        painter.setBrush(QColor(0xff, 0x80, 0x00));
        const QPointF corner[] = {{0.5, 0.5}, {kSize - 0.5, 0.5}, {0.5, kSize - 0.5}};
        painter.drawPolygon(corner, 3);
    }
};

// How a control's value reads in its description: a box's state in words, a text as it is.
QString readable(const QString &held, bool box)
{
    if (box)
        return held == QLatin1String("1") ? QStringLiteral("on") : QStringLiteral("off");
    return QStringLiteral("\"%1\"").arg(held);
}

} // namespace

ChangeMarkers::ChangeMarkers(Platform &platform, const tarnwell::SettingsSession &settings,
                             const tarnwell::SettingsControls &controls, QWidget *window)
    : QObject(window)
    , m_platform(platform)
    , m_settings(settings)
    , m_controls(controls)
    , m_window(window)
    , m_action(new QAction(QStringLiteral("What will change..."), this))
{
    m_action->setObjectName(QStringLiteral("WhatWillChangeAction"));
    connect(m_action, &QAction::triggered, this, &ChangeMarkers::showPendingChanges);
    QSet<QWidget *> watched;
    for (const tarnwell::CatalogueRow &row : tarnwell::catalogue()) {
        QWidget *control = window->findChild<QWidget *>(QString(row.control), Qt::FindDirectChildrenOnly);
        if (control && !watched.contains(control)) {
            watched.insert(control);
            watch(control);
        }
    }
}

void ChangeMarkers::watch(QWidget *control)
{
    // Its marker is made once a change is to be marked: none is, before the window shows.
    if (auto *box = qobject_cast<QCheckBox *>(control))
        connect(box, &QCheckBox::toggled, this, &ChangeMarkers::refresh);
    else if (auto *edit = qobject_cast<QLineEdit *>(control))
        connect(edit, &QLineEdit::textChanged, this, &ChangeMarkers::refresh);
    else if (auto *list = qobject_cast<QComboBox *>(control))
        connect(list, &QComboBox::editTextChanged, this, &ChangeMarkers::refresh);
}

void ChangeMarkers::refresh()
{
    // Once the read, the write or the edit is over: a read changes many controls, then what was read.
    if (m_queued)
        return;
    m_queued = true;
    QTimer::singleShot(0, this, &ChangeMarkers::update);
}

void ChangeMarkers::update()
{
    m_queued = false;
    for (const tarnwell::SessionFile &file : m_settings.files()) {
        const bool read = file.read.state == tarnwell::ReadState::Read;
        const QSet<QString> changed = read ? tarnwell::changedControls(m_controls, file.shown) : QSet<QString>();
        for (auto it = file.shown.cbegin(); it != file.shown.cend(); ++it) {
            auto *control = m_window->findChild<QWidget *>(it.key(), Qt::FindDirectChildrenOnly);
            QWidget *marker = m_markers.value(it.key());
            const bool marked = changed.contains(it.key());
            if (!control || (!marker && !marked))
                continue;
            if (!marker)
                marker = m_markers.insert(it.key(), new Marker(control)).value();
            marker->setVisible(marked);
            marker->raise();
            const QString description = marked ? QStringLiteral("Changed, not yet applied: the file holds %1.")
                                                     .arg(readable(*it, qobject_cast<QCheckBox *>(control)))
                                               : QString();
            accessibility::setNote(control, accessibility::Note::Changed, description);
        }
    }
}

void ChangeMarkers::showPendingChanges()
{
    const tarnwell::PendingChanges pending = tarnwell::pendingChanges(m_settings, m_controls);
    if (!pending.refusal.isEmpty()) {
        m_platform.messageBox(pending.refusal, Platform::Exclamation, QStringLiteral("What will change"));
        return;
    }
    QStringList parts;
    for (const tarnwell::PendingFile &file : pending.files) {
        QStringList lines{QDir::toNativeSeparators(file.path)};
        for (const tarnwell::PendingChange &change : file.changes)
            lines << QStringLiteral("    %1: %2 -> %3").arg(change.property, change.before, change.after);
        if (file.changes.isEmpty())
            lines << QStringLiteral("    nothing");
        parts << lines.join(QLatin1Char('\n'));
    }
    const QString text = parts.isEmpty()
        ? QStringLiteral("No settings file has been read, so Apply would write nothing.")
        : QStringLiteral("Apply would change:\n\n") + parts.join(QStringLiteral("\n\n"));
    m_platform.messageBox(text, Platform::Information, QStringLiteral("What will change"));
}
