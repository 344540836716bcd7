// SPDX-License-Identifier: MIT
#include "form1.h"

#include "accessibility.h"
#include "artwork.h"
#include "clickablelabel.h"
#include "platform/platform.h"
#include "registration/digesttask.h"
#include "registration/discovery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int kClientHeightTwips = 6675;
constexpr int kDesignedWidthTwips = 10710;
} // namespace

Form1::Form1(Platform &platform, QWidget *parent)
    : QWidget(parent)
    , m_platform(platform)
{
    setObjectName(QStringLiteral("Form1"));
    // The boxes and lists were laid out for a compact dialog face: "1920x1080" must fit a resolution list.
    QFont compact(QStringLiteral("Arial"));
    compact.setStyleHint(QFont::SansSerif);
    compact.setPointSizeF(7.5);
    setFont(compact);
    setWindowIcon(artwork::windowIcon());
    accessibility::install(); // before the controls, which screen readers may ask about at once
    createControls();
    // The layout is fixed: the program alone changes the outer width, never the height.
    setFixedSize(qRound(kDesignedWidthTwips / 15.0), qRound(kClientHeightTwips / 15.0));

    connect(command(1), &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(command(2), &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(command(3), &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(command(4), &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(command(5), &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(command(6), &QPushButton::clicked, this, &Form1::Command6_Click);
    // `clicked` comes from the user only; the program's own setChecked() does not run the rule.
    connect(check(1), &QCheckBox::clicked, this, &Form1::Check1_Click);
    connect(check(2), &QCheckBox::clicked, this, &Form1::Check2_Click);
    connect(static_cast<ClickableLabel *>(label(22)), &ClickableLabel::clicked, this, &Form1::Label22_Click);
    connect(static_cast<ClickableLabel *>(label(20)), &ClickableLabel::clicked, this, &Form1::Label20_Click);
    for (int n = 1; n <= 6; ++n)
        connect(image(n), &ClickableLabel::clicked, this, [this, n] { Image_Click(n); });
    connectPicker();
    connect(static_cast<ClickableLabel *>(label(1)), &ClickableLabel::clicked, this, &Form1::Label1_Click);
    m_exeCheck = new tarnwell::ExecutableCheck([this] {
        return tarnwell::ExecutableCheck::Snapshot{GameExePath, label(22)->text(), m_outerWidthTwips};
    }, this);
    connect(m_exeCheck, &tarnwell::ExecutableCheck::progressed, this, &Form1::showCheckProgress);
    connect(m_exeCheck, &tarnwell::ExecutableCheck::finished, this, &Form1::finishCheck);
    setAcceptDrops(true);
    createRestoreAction();
    createInstallationMenus();
}

Form1::~Form1() = default; // a check still running is stopped and waited for

void Form1::setSettingsEnabled(bool enabled)
{
    const auto setAll = [enabled](const auto &controls) {
        for (QWidget *control : controls) {
            if (control) // the arrays count from 1
                control->setEnabled(enabled);
        }
    };
    setAll(m_check);
    setAll(m_text);
    setAll(m_combo);
    for (const int n : {1, 2, 3, 5, 6}) // Quit stays: the window can always be left
        m_command[n]->setEnabled(enabled);
}

void Form1::setOuterWidthTwips(int twips)
{
    m_outerWidthTwips = twips;
    const int frame = frameGeometry().width() - geometry().width();
    setFixedWidth(qMax(1, qRound(twips / 15.0) - frame));
    // The picker shows only when it fits whole; a sliver of it at the edge would only confuse.
    const bool pickerFits = width() >= File1->geometry().right() + 1;
    for (QWidget *part : {static_cast<QWidget *>(Drive1), static_cast<QWidget *>(Dir1), static_cast<QWidget *>(File1)})
        part->setVisible(pickerFits);
}

int Form1::outerWidthTwips() const
{
    return m_outerWidthTwips;
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The frame is known only once the window manager has framed the window.
    if (m_outerWidthTwips > 0)
        QTimer::singleShot(0, this, [this] { setOuterWidthTwips(m_outerWidthTwips); });
}

void Form1::warn(const QString &message)
{
    m_platform.messageBox(message, Platform::Exclamation);
}

void Form1::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), artwork::background.backdrop);
    artwork::draw(painter, artwork::background);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Edits that were never applied are not thrown away without a word.
    if (hasUnsavedEdits()) {
        const int answer = m_platform.question(
            QStringLiteral("Some settings were changed in the window but not written to the game's files."),
            {QStringLiteral("Apply"), QStringLiteral("Discard"), QStringLiteral("Cancel")},
            QStringLiteral("Close Tarnwell?"));
        // Apply closes only when everything was written; otherwise the window stays with its message.
        if (answer == 2 || (answer == 0 && !applySettings())) {
            event->ignore();
            return;
        }
    }
    m_closed = true;
    event->accept();
}
