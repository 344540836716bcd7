// SPDX-License-Identifier: MIT
#include "windowcontrols.h"

#include "accessibility.h"

#include "settings/catalogue.h"
#include "settings/settingssession.h"
#include "settings/settingswriter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLineEdit>

bool WindowControls::isChecked(QLatin1String control) const
{
    const auto *box = find<QCheckBox>(control);
    return box && box->isChecked();
}

void WindowControls::setChecked(QLatin1String control, bool checked)
{
    // setChecked() does not emit `clicked`, so the FullScreen/Borderless rule stays out of it.
    if (auto *box = find<QCheckBox>(control))
        box->setChecked(checked);
}

QString WindowControls::text(QLatin1String control) const
{
    if (const auto *edit = find<QLineEdit>(control))
        return edit->text();
    if (const auto *list = find<QComboBox>(control))
        return list->currentText();
    return {};
}

void WindowControls::setText(QLatin1String control, const QString &text)
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

QString WindowControls::settingName(QLatin1String control) const
{
    const auto *widget = find<QWidget>(control);
    return widget && !widget->accessibleName().isEmpty() ? widget->accessibleName() : QString(control);
}

void WindowControls::markUnread(const tarnwell::SettingsSession &settings)
{
    using namespace tarnwell;
    for (const CatalogueRow &row : catalogue()) {
        auto *widget = find<QWidget>(row.control);
        if (!widget)
            continue;
        if (!widget->property("help").isValid())
            widget->setProperty("help", widget->toolTip());
        const QString reason = settings.unreadReason(row.file);
        const QString help = widget->property("help").toString();
        widget->setToolTip(reason.isEmpty() ? help
                                            : QStringLiteral("<p><b>%1</b></p>").arg(reason.toHtmlEscaped()) + help);
        // Greyed, yet still editable: a value typed now is written once the file can be read.
        QPalette palette; // nothing of its own: the window's
        if (!reason.isEmpty()) {
            palette = m_window.palette();
            for (const QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText})
                palette.setColor(role, Qt::gray);
            palette.setColor(QPalette::Base, QColor(0xe4, 0xe4, 0xe4));
        }
        widget->setPalette(palette);
    }
}

void WindowControls::markKeptValues(const tarnwell::SettingsSession &settings)
{
    using namespace tarnwell;
    // A value kept aside cannot be edited in its shortened form: it goes back whole, or not at all.
    for (const CatalogueRow &row : catalogue()) {
        if (row.kind != ControlKind::Text && row.kind != ControlKind::Combo)
            continue;
        auto *widget = find<QWidget>(row.control);
        auto *edit = qobject_cast<QLineEdit *>(widget);
        if (auto *list = qobject_cast<QComboBox *>(widget))
            edit = list->lineEdit();
        if (edit)
            edit->setReadOnly(settings.readValues().keptAside(row.property));
    }
}

void WindowControls::markRefused(const QList<tarnwell::RefusedValue> &refused)
{
    QWidget *first = nullptr;
    for (const tarnwell::RefusedValue &value : refused) {
        if (QWidget *field = find<QWidget>(value.control)) {
            markRefused(*field, value.problem);
            first = first ? first : field;
        }
    }
    if (first)
        first->setFocus(Qt::OtherFocusReason);
}

void WindowControls::markRefused(QWidget &field, const QString &problem)
{
    const QString name = QStringLiteral("refused") + field.objectName();
    delete m_window.findChild<QFrame *>(name, Qt::FindDirectChildrenOnly); // refused again
    // A red frame just outside the field, beneath it: it changes nothing of the field's own look.
    auto *mark = new QFrame(field.parentWidget());
    mark->setObjectName(name);
    QPalette red = mark->palette();
    red.setColor(QPalette::Window, QColor(0xc0, 0x00, 0x00));
    mark->setPalette(red);
    mark->setAutoFillBackground(true);
    mark->setGeometry(field.geometry().adjusted(-2, -2, 2, 2));
    mark->stackUnder(&field);
    mark->show();
    // Where the field's typing goes: the field itself, or the edit field of a list.
    auto *list = qobject_cast<QComboBox *>(&field);
    QWidget *typing = list && list->lineEdit() ? list->lineEdit() : &field;
    accessibility::setNote(&field, accessibility::Note::Refused, QStringLiteral("Refused by Apply: it %1.").arg(problem));
    const auto clear = [mark, &field] {
        accessibility::setNote(&field, accessibility::Note::Refused, QString());
        mark->hide();
        mark->deleteLater();
    };
    if (auto *edit = qobject_cast<QLineEdit *>(typing))
        QObject::connect(edit, &QLineEdit::textChanged, mark, clear);
    if (list)
        QObject::connect(list, &QComboBox::currentTextChanged, mark, clear);
}
