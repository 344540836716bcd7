// SPDX-License-Identifier: MIT
// The start-up benchmark's reference: the program's window as plain Qt controls and nothing else.
// The same controls in the same places, with the captions, faces, list entries and values the
// sample game shows, but no pictures, no files read, no searches, checks, tooltips or accessibility.
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

QRect place(int left, int top, int width, int height) // from twips
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

struct Caption {
    const char *text;
    int left, top;
};

// The captions of the left column, of the right column, and the status, address and version.
constexpr Caption kCaptions[] = {
    {"Quillvane EXE:", 0, 0}, {"FullScreen:", 0, 240}, {"Borderless:", 0, 480}, {"VSync:", 0, 720},
    {"GSync:", 0, 960}, {"Desktop Resolution:", 0, 1200}, {"Gamepad Vibration:", 0, 1440},
    {"Hidden HUD:", 0, 1680}, {"Texture Detail:", 0, 2040}, {"Generation Detail:", 0, 2400},
    {"Reflection Quality:", 0, 2760}, {"Anti-Aliasing:", 0, 3120}, {"Motion Blur Quality:", 0, 3480},
    {"Shadow Detail", 0, 3840}, {"Resolution:", 0, 4200}, {"Anistropic Filtering:", 3600, 240},
    {"Field of View:", 3600, 600}, {"(Foot/Ship)", 6680, 600}, {"Brightness:", 3600, 960},
    {"Volume:", 3600, 1320}, {"(Music/SFX)", 6675, 1320}, {"Work Threads:", 3600, 1680},
    {"(High/Low)", 6680, 1680}, {"Motion Blur Amount:", 3600, 2040}, {"Page Size (kB):", 3600, 2400},
    {"Framerate Lock:", 3600, 2760}, {"Texture Streaming:", 3600, 3120}, {"HDR:", 3600, 3480},
    {"Light Shafts:", 3600, 3840}, {"HBAO:", 3600, 4200}, {"Tessellation", 3600, 4560},
    {"'Hold Select' Menu:", 3600, 4920},
    {"Quillvane Sample Installation Detected!", 1800, 0}, {"www.example.com", 3120, 5280}, {"v0.0.2-r09", 5400, 5280},
};

void addCaptions(QWidget *window)
{
    const int count = int(std::size(kCaptions));
    for (int n = 0; n < count; ++n) {
        auto *label = new QLabel(QString::fromLatin1(kCaptions[n].text), window);
        label->setFont(n < count - 3 ? face(9.75) : n == count - 3 ? face(9) : face(9, true, true));
        label->move(place(kCaptions[n].left, kCaptions[n].top, 0, 0).topLeft());
        label->adjustSize();
    }
}

void addValues(QWidget *window)
{
    for (const int top : {285, 520, 760, 1000, 1240, 1485, 1725})
        (new QCheckBox(window))->setGeometry(place(1920, top, 195, 195));
    for (const int top : {3165, 3495, 3840, 4200, 4560, 4920})
        (new QCheckBox(window))->setGeometry(place(5640, top, 195, 195));
    struct Box { int left, top, width; const char *text; };
    constexpr Box kBoxes[] = {{5640, 240, 375, "8"}, {5640, 600, 495, "100"}, {6120, 600, 495, "90"},
                              {5640, 960, 615, "120"}, {5640, 1320, 375, "65"}, {6000, 1320, 375, "90"},
                              {5640, 1680, 375, "6"}, {6000, 1680, 375, "2"}, {5640, 2040, 615, "0"},
                              {5640, 2400, 615, "512"}, {5640, 2760, 615, "144"}};
    for (const Box &box : kBoxes)
        (new QLineEdit(QString::fromLatin1(box.text), window))->setGeometry(place(box.left, box.top, box.width, 285));
    const QStringList resolutions{"320x200", "320x240", "640x400", "640x480", "800x480", "800x600", "852x480",
        "1024x768", "1152x864", "1280x720", "1280x768", "1280x800", "1280x960", "1280x1024", "1360x768", "1366x768",
        "1400x1050", "1440x900", "1600x900", "1600x1200", "1680x1050", "1920x1080", "2048x1536", "2560x2048",
        "3200x2400", "4000x3000", "5120x4096", "6400x4800"};
    const QList<QStringList> entries{{"Low", "Normal", "High", "Ultra"}, {"Normal", "High"}, {"Low", "Normal", "High"},
        {"None", "FXAA", "TAA", "TAA_LOW", "TAA_FXAA"}, {"Off", "Normal", "High", "Ultra"},
        {"Low", "Normal", "High", "Ultra"}, resolutions};
    const QStringList shown{"Ultra", "High", "Normal", "TAA", "Off", "High", "1920x1080"};
    for (int n = 0; n < 7; ++n) {
        auto *list = new QComboBox(window);
        list->setEditable(true);
        list->addItems(entries[n]);
        list->setEditText(shown[n]);
        list->setGeometry(place(1920, 2040 + n * 360, 1215, 315));
    }
}

void addButtonsAndLists(QWidget *window)
{
    const char *captions[] = {"Apply", "Reload", "Launch", "Quit", "Del All Settings ", "Del ShaderCache"};
    for (int n = 0; n < 6; ++n) {
        auto *button = new QPushButton(QString::fromLatin1(captions[n]), window);
        button->setFont(face(8.25));
        button->setGeometry(n < 4 ? place(6960, 2040 + n * 480, 735, 375)
                                  : place(6360, 4080 + (n - 4) * 600, 1455, 495));
    }
    for (int n = 0; n < 6; ++n)
        (new QLabel(window))->setGeometry(place(n * 480, 4995, 480, 480));
    (new QWidget(window))->setGeometry(place(0, 5520, 7935, 1215));
    // The picker's lists lie beyond the right edge of the narrowed window, hidden.
    (new QComboBox(window))->setGeometry(place(7920, 0, 2775, 315));
    (new QListWidget(window))->setGeometry(place(7920, 360, 2775, 2790));
    (new QListWidget(window))->setGeometry(place(7920, 3120, 2775, 3600));
    for (QWidget *list : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (list->x() >= 528)
            list->hide();
    }
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
    window.setFixedSize(536, 445); // as the program's window is once the sample game is known
    addCaptions(&window);
    addValues(&window);
    addButtonsAndLists(&window);
    app.installEventFilter(new Observer(&window, startNs));
    window.show();
    return app.exec();
}
