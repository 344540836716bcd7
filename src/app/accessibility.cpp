// SPDX-License-Identifier: MIT
#include "accessibility.h"

#include "firstpaint.h"

#include "clickablelabel.h"
#include "links/links.h"
#include "platform/readers.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include <array>

namespace accessibility {

namespace {

struct Entry {
    const char *object;
    QAccessible::Role role; // NoRole: the toolkit's own
    const char *name;       // none: the window's title
    int link;               // the link picture whose address it opens, 0 for none
};

// Controls whose caption, picture or value does not say what they are for.
constexpr std::array<Entry, 13> kEntries = {{
    {"Form1", QAccessible::Window, nullptr, 0},
    {"Label1", QAccessible::Button, "Choose another game executable", 0},
    {"Label22", QAccessible::StaticText, "Executable status", 0},
    {"Image1", QAccessible::Link, "Author's social network profile", 1},
    {"Image2", QAccessible::Link, "Author's microblog", 2},
    {"Image3", QAccessible::Link, "Author's game store community profile", 3},
    {"Image4", QAccessible::Link, "Author's code repository", 4},
    {"Image5", QAccessible::Link, "Author's home page", 5},
    {"Image6", QAccessible::Link, "Author's video channel", 6},
    {"Label20", QAccessible::Link, "Author's home page", 5},
    {"Drive1", QAccessible::NoRole, "Drive", 0},
    {"Dir1", QAccessible::NoRole, "Folder", 0},
    {"File1", QAccessible::NoRole, "File", 0},
}};

// The role a control is announced in; NoRole for one that the table leaves to the toolkit.
QAccessible::Role roleOf(const QString &objectName)
{
    for (const Entry &entry : kEntries) {
        if (objectName == QLatin1String(entry.object))
            return entry.role;
    }
    return QAccessible::NoRole;
}

// A label or picture that acts on a click: announced in its role, by its name rather than its
// caption; a status caption is its value, or where readers do not hear that, leads its description.
class ClickableAccessible : public QAccessibleWidget
{
public:
    ClickableAccessible(ClickableLabel *label, QAccessible::Role role) : QAccessibleWidget(label, role) {}

    QString text(QAccessible::Text t) const override
    {
        const QString caption = static_cast<const ClickableLabel *>(widget())->text();
        const QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name)
            return widget()->accessibleName().isEmpty() ? caption : text;
        if (role() != QAccessible::StaticText)
            return text;
        if (t == QAccessible::Value)
            return caption;
        if (t != QAccessible::Description || readersHearLabelValues())
            return text;
        return text.isEmpty() ? caption : caption + QLatin1Char('\n') + text;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = role() == QAccessible::Link;
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString &action) override
    {
        if (action == pressAction())
            static_cast<ClickableLabel *>(widget())->click();
        else
            QAccessibleWidget::doAction(action);
    }
};

// An editable or plain list announced by its name. The toolkit's own interface names a list on
// Linux by its current value, so that two lists showing "High" sound alike.
class NamedListAccessible : public QAccessibleWidget
{
public:
    explicit NamedListAccessible(QComboBox *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QComboBox *list() const { return static_cast<QComboBox *>(widget()); }
    int childCount() const override { return list()->isEditable() ? 2 : 1; }
    QAccessibleInterface *child(int index) const override
    {
        if (index == 0)
            return QAccessible::queryAccessibleInterface(list()->view());
        return index == 1 && list()->isEditable() ? QAccessible::queryAccessibleInterface(list()->lineEdit()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == list()->view())
            return 0;
        return list()->isEditable() && child->object() == list()->lineEdit() ? 1 : -1;
    }
    // The list hands its focus to its typing field, which is where typing goes.
    QAccessibleInterface *focusChild() const override { return list()->isEditable() ? child(1) : nullptr; }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return list()->currentText();
        // Without a name of its own, the caption whose buddy it is names it, or else its value.
        const QString text = QAccessibleWidget::text(t);
        return t == QAccessible::Name && text.isEmpty() ? list()->currentText() : text;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view()->isVisible();
        s.editable = list()->isEditable();
        return s;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }
};

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    // Asked once per class from the most derived one up; answered at the first.
    if (!widget || className != QLatin1String(object->metaObject()->className()))
        return nullptr;
    if (auto *list = qobject_cast<QComboBox *>(widget))
        return new NamedListAccessible(list);
    const QAccessible::Role role = roleOf(widget->objectName());
    if (role == QAccessible::NoRole)
        return nullptr;
    if (auto *label = qobject_cast<ClickableLabel *>(widget))
        return new ClickableAccessible(label, role);
    return widget->isWindow() ? new QAccessibleWidget(widget, role) : nullptr;
}

class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (!key->isAutoRepeat()) // held down, it presses once
            static_cast<QAbstractButton *>(watched)->click();
        return true;
    }
};

} // namespace

void install()
{
    static const bool installed = (QAccessible::installFactory(factory), true);
    Q_UNUSED(installed);
}

void nameControls(QWidget *window)
{
    for (const Entry &entry : kEntries) {
        QWidget *control = window->findChild<QWidget *>(QLatin1String(entry.object));
        if (!control || !entry.name)
            continue;
        const QString name = QString::fromLatin1(entry.name);
        if (auto *list = qobject_cast<QComboBox *>(control))
            nameList(list, name);
        else
            control->setAccessibleName(name);
        if (entry.link)
            control->setAccessibleDescription(tarnwell::links::imageAddress(entry.link));
        if (qobject_cast<ClickableLabel *>(control) && entry.role != QAccessible::NoRole)
            control->setFocusPolicy(Qt::TabFocus);
    }
}

void nameList(QComboBox *list, const QString &name)
{
    list->setAccessibleName(name);
    if (list->lineEdit())
        list->lineEdit()->setAccessibleName(name);
    // Asking for the pop-up builds it: that waits until the window has been seen, unless a screen
    // reader already listens.
    if (QAccessible::isActive())
        list->view()->setAccessibleName(name);
    else
        afterFirstPaint(list->window(), list, [list, name] { list->view()->setAccessibleName(name); });
}

void pressOnEnter(QAbstractButton *button)
{
    button->installEventFilter(new EnterPresses(button));
}

void announceValue(QWidget *widget, const QString &value)
{
    if (!QAccessible::isActive())
        return;
    if (readersHearLabelValues()) {
        QAccessibleValueChangeEvent changed(widget, value);
        QAccessible::updateAccessibility(&changed);
    } else {
        QAccessibleEvent described(widget, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&described);
    }
}

void setNote(QWidget *control, Note note, const QString &text)
{
    const char *const names[] = {"refusedNote", "changedNote"};
    control->setProperty(names[int(note)], text);
    QStringList notes;
    for (const char *name : names) {
        if (const QString held = control->property(name).toString(); !held.isEmpty())
            notes << held;
    }
    const QString description = notes.join(QLatin1Char(' '));
    control->setAccessibleDescription(description);
    if (auto *list = qobject_cast<QComboBox *>(control); list && list->lineEdit())
        list->lineEdit()->setAccessibleDescription(description);
}

} // namespace accessibility
