// SPDX-License-Identifier: MIT
#include "focusreturn.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QWidget>

FocusReturn::FocusReturn(QWidget *window, QWidget *home)
    : QObject(window)
    , m_window(window)
    , m_home(home)
{
}

void FocusReturn::begin()
{
    if (!m_watching)
        qApp->installEventFilter(this);
    m_watching = true;
    m_userMoved = false;
}

void FocusReturn::end()
{
    if (!m_watching)
        return;
    qApp->removeEventFilter(this);
    m_watching = false;
    if (!m_userMoved && m_home && m_home->isEnabled())
        m_home->setFocus(Qt::OtherFocusReason);
}

bool FocusReturn::eventFilter(QObject *watched, QEvent *event)
{
    // Tab, a click or a mnemonic is the user's choice; the window's activation and Qt moving the focus
    // off a control being disabled are not.
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != m_window)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        m_userMoved = m_userMoved || key == Qt::Key_Tab || key == Qt::Key_Backtab;
    } else if (event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        m_userMoved = m_userMoved || reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
    }
    return false;
}
