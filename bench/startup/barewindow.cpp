// SPDX-License-Identifier: MIT
// The start-up benchmark's reference: a window of the program's size with as many controls of each
// kind as the program's window, in the faces its captions are drawn in, and nothing else: no
// pictures, no files read, no searches or checks.
// Timed as tarnwell_firstpaint times the program (when the frame queued at the first paint is out),
// and printed in its form. Usage: FIRSTPAINT_START_NS=<wall clock in ns just before the start> tarnwell_barewindow
#include "clock.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

QFont face(qreal points, bool bold = true, bool italic = false)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// The program's window: its labels, check boxes, text boxes, lists, buttons, link pictures, banner
// area and the picker's three lists, in rows and columns of about its places.
void addControls(QWidget *window)
{
    // Captions, the status and the two web labels, each sized to its caption.
    for (int n = 0; n < 35; ++n) {
        auto *label = new QLabel(QStringLiteral("Caption %1:").arg(n), window);
        label->setFont(n == 1 ? face(9) : n >= 33 ? face(9, true, true) : face(9.75));
        label->move(n < 16 ? 0 : 240, (n % 16) * 24);
        label->adjustSize();
    }
    for (int n = 0; n < 13; ++n)
        (new QCheckBox(window))->setGeometry(n < 7 ? 128 : 376, (n % 7) * 16 + 19, 13, 13);
    for (int n = 0; n < 11; ++n)
        (new QLineEdit(QString::number(n * 10), window))->setGeometry(376 + (n % 2) * 24, (n / 2) * 24 + 16, 25, 19);
    for (int n = 0; n < 7; ++n) {
        auto *list = new QComboBox(window);
        list->setEditable(true);
        list->addItems({QStringLiteral("Low"), QStringLiteral("Normal"), QStringLiteral("High")});
        list->setGeometry(128, n * 24 + 136, 81, 21);
    }
    for (int n = 0; n < 6; ++n) {
        auto *button = new QPushButton(QStringLiteral("Button %1").arg(n), window);
        button->setFont(face(8.25));
        button->setGeometry(464, n * 32 + 136, 49, 25);
    }
    for (int n = 0; n < 6; ++n)
        (new QLabel(window))->setGeometry(n * 32, 333, 32, 32);
    (new QWidget(window))->setGeometry(0, 368, 529, 81);
    (new QComboBox(window))->setGeometry(528, 0, 185, 21);
    (new QListWidget(window))->setGeometry(528, 24, 185, 186);
    (new QListWidget(window))->setGeometry(528, 208, 185, 240);
}

class Observer : public QObject
{
public:
    Observer(QWidget *window, qint64 startNs)
        : QObject(window)
        , m_window(window)
        , m_startNs(startNs)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == m_window && !m_painted) {
            m_painted = true;
            // Queued now, this runs after the painted frame is out, as for the program.
            QTimer::singleShot(0, this, [this] {
                std::printf("first_paint_ms=%.1f rss_kb=%ld cpu_ms=%.1f\n", (startup::nowNs() - m_startNs) / 1e6,
                            startup::residentKb(), startup::cpuMs());
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    qint64 m_startNs;
    bool m_painted = false;
};

} // namespace

int main(int argc, char *argv[])
{
    const qint64 startNs = startup::startNs();
    QApplication app(argc, argv);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QWidget window;
    window.setFont(face(7.5, false));
    window.setFixedSize(714, 445);
    addControls(&window);
    app.installEventFilter(new Observer(&window, startNs));
    window.show();
    return app.exec();
}
