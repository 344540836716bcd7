// SPDX-License-Identifier: MIT
// While a check disables the settings and "Apply", Qt moves the focus to the next control that takes
// it ("Quit"): Space or Enter would then close the window. This gives the focus back to "Apply" once
// the check ends, unless the user has moved it meanwhile.
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

class FocusReturn : public QObject
{
public:
    FocusReturn(QWidget *window, QWidget *home);

    // The controls are about to be disabled; Qt's own moves of the focus from now on are not the user's.
    void begin();
    // The controls are usable again: the focus goes home unless the user took it elsewhere.
    void end();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    QPointer<QWidget> m_home;
    bool m_watching = false;
    bool m_userMoved = false;
};
