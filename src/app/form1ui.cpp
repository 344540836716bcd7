// SPDX-License-Identifier: MIT
#include "form1ui.h"

#include "accessibility.h"
#include "artwork.h"
#include "bannerarea.h"
#include "clickablelabel.h"
#include "executablepicker.h"
#include "links/links.h"
#include "platform/platform.h"
#include "settings/heldcontrols.h"
#include "settings/settingshelp.h"
#include "statuslabel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>

#include <array>
#include <limits>

namespace {

int px(int twips)
{
    return qRound(twips / 15.0);
}

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

QFont arial(qreal points, bool italic = false)
{
    static const bool substituted = (artwork::substituteFaces(), true);
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

enum class LabelStyle { Caption, Status, Web };

struct LabelSpec {
    int number;
    const char *caption;
    int left;
    int top;
    LabelStyle style;
};

// Caption labels, unit labels and the other labels, left column first.
constexpr std::array<LabelSpec, 35> kLabels = {{
    {1, "Quillvane EXE:", 0, 0, LabelStyle::Caption},
    {22, "Not Set", 1800, 0, LabelStyle::Status},
    {2, "FullScreen:", 0, 240, LabelStyle::Caption},
    {24, "Borderless:", 0, 480, LabelStyle::Caption},
    {4, "VSync:", 0, 720, LabelStyle::Caption},
    {21, "GSync:", 0, 960, LabelStyle::Caption},
    {29, "Desktop Resolution:", 0, 1200, LabelStyle::Caption},
    {30, "Gamepad Vibration:", 0, 1440, LabelStyle::Caption},
    {31, "Hidden HUD:", 0, 1680, LabelStyle::Caption},
    {5, "Texture Detail:", 0, 2040, LabelStyle::Caption},
    {6, "Generation Detail:", 0, 2400, LabelStyle::Caption},
    {7, "Reflection Quality:", 0, 2760, LabelStyle::Caption},
    {8, "Anti-Aliasing:", 0, 3120, LabelStyle::Caption},
    {9, "Motion Blur Quality:", 0, 3480, LabelStyle::Caption},
    {23, "Shadow Detail", 0, 3840, LabelStyle::Caption},
    {3, "Resolution:", 0, 4200, LabelStyle::Caption},
    {11, "Anistropic Filtering:", 3600, 240, LabelStyle::Caption},
    {12, "Field of View:", 3600, 600, LabelStyle::Caption},
    {28, "(Foot/Ship)", 6680, 600, LabelStyle::Caption},
    {13, "Brightness:", 3600, 960, LabelStyle::Caption},
    {33, "Volume:", 3600, 1320, LabelStyle::Caption},
    {32, "(Music/SFX)", 6675, 1320, LabelStyle::Caption},
    {15, "Work Threads:", 3600, 1680, LabelStyle::Caption},
    {27, "(High/Low)", 6680, 1680, LabelStyle::Caption},
    {10, "Motion Blur Amount:", 3600, 2040, LabelStyle::Caption},
    {17, "Page Size (kB):", 3600, 2400, LabelStyle::Caption},
    {14, "Framerate Lock:", 3600, 2760, LabelStyle::Caption},
    {16, "Texture Streaming:", 3600, 3120, LabelStyle::Caption},
    {18, "HDR:", 3600, 3480, LabelStyle::Caption},
    {19, "Light Shafts:", 3600, 3840, LabelStyle::Caption},
    {25, "HBAO:", 3600, 4200, LabelStyle::Caption},
    {35, "Tessellation", 3600, 4560, LabelStyle::Caption},
    {26, "'Hold Select' Menu:", 3600, 4920, LabelStyle::Caption},
    {20, nullptr, 3120, 5280, LabelStyle::Web},  // the author's address, from the link table
    {34, "", 5400, 5280, LabelStyle::Web},       // the version, set at start-up
}};

enum class Kind { Check, Text, Combo };

struct ValueSpec {
    Kind kind;
    int number;
    int left;
    int top;
    int width;        // text boxes only
    int label;        // the caption label that names it
    const char *part; // which box of a pair, for its accessible name
};

// In reading order (left column, then right column), which is also the tab order.
constexpr std::array<ValueSpec, 31> kValues = {{
    {Kind::Check, 1, 1920, 285, 0, 2, nullptr},
    {Kind::Check, 2, 1920, 520, 0, 24, nullptr},
    {Kind::Check, 3, 1920, 760, 0, 4, nullptr},
    {Kind::Check, 8, 1920, 1000, 0, 21, nullptr},
    {Kind::Check, 10, 1920, 1240, 0, 29, nullptr},
    {Kind::Check, 11, 1920, 1485, 0, 30, nullptr},
    {Kind::Check, 12, 1920, 1725, 0, 31, nullptr},
    {Kind::Combo, 2, 1920, 2040, 0, 5, nullptr},
    {Kind::Combo, 3, 1920, 2400, 0, 6, nullptr},
    {Kind::Combo, 4, 1920, 2760, 0, 7, nullptr},
    {Kind::Combo, 5, 1920, 3120, 0, 8, nullptr},
    {Kind::Combo, 6, 1920, 3480, 0, 9, nullptr},
    {Kind::Combo, 7, 1920, 3840, 0, 23, nullptr},
    {Kind::Combo, 1, 1920, 4200, 0, 3, nullptr},
    {Kind::Text, 1, 5640, 240, 375, 11, nullptr},
    {Kind::Text, 2, 5640, 600, 495, 12, "Foot"},
    {Kind::Text, 8, 6120, 600, 495, 12, "Ship"},
    {Kind::Text, 3, 5640, 960, 615, 13, nullptr},
    {Kind::Text, 11, 5640, 1320, 375, 33, "Music"},
    {Kind::Text, 10, 6000, 1320, 375, 33, "SFX"},
    {Kind::Text, 5, 5640, 1680, 375, 15, "High"},
    {Kind::Text, 9, 6000, 1680, 375, 15, "Low"},
    {Kind::Text, 7, 5640, 2040, 615, 10, nullptr},
    {Kind::Text, 6, 5640, 2400, 615, 17, nullptr},
    {Kind::Text, 4, 5640, 2760, 615, 14, nullptr},
    {Kind::Check, 4, 5640, 3165, 0, 16, nullptr},
    {Kind::Check, 5, 5640, 3495, 0, 18, nullptr},
    {Kind::Check, 6, 5640, 3840, 0, 19, nullptr},
    {Kind::Check, 7, 5640, 4200, 0, 25, nullptr},
    {Kind::Check, 13, 5640, 4560, 0, 35, nullptr},
    {Kind::Check, 9, 5640, 4920, 0, 26, nullptr},
}};

struct ButtonSpec {
    int number;
    const char *caption;
    int left;
    int top;
    int width;
    int height;
};

// In top-to-bottom order; "Apply" is taken out to lead the tab order.
constexpr std::array<ButtonSpec, 6> kButtons = {{
    {1, "Apply", 6960, 2040, 735, 375},
    {3, "Reload", 6960, 2520, 735, 375},
    {2, "Launch", 6960, 3000, 735, 375},
    {4, "Quit", 6960, 3480, 735, 375},
    {6, "Del All Settings ", 6360, 4080, 1455, 495},
    {5, "Del ShaderCache", 6360, 4680, 1455, 495},
}};

struct ListEntries {
    int combo;
    std::initializer_list<const char *> entries;
};

const std::array<ListEntries, 7> kListEntries = {{
    {1, {"320x200", "320x240", "640x400", "640x480", "800x480", "800x600", "852x480", "1024x768",
         "1152x864", "1280x720", "1280x768", "1280x800", "1280x960", "1280x1024", "1360x768",
         "1366x768", "1400x1050", "1440x900", "1600x900", "1600x1200", "1680x1050", "1920x1080",
         "2048x1536", "2560x2048", "3200x2400", "4000x3000", "5120x4096", "6400x4800"}},
    {2, {"Low", "Normal", "High", "Ultra"}},
    {3, {"Normal", "High"}},
    {4, {"Low", "Normal", "High"}},
    {5, {"None", "FXAA", "TAA", "TAA_LOW", "TAA_FXAA"}},
    {6, {"Off", "Normal", "High", "Ultra"}},
    {7, {"Low", "Normal", "High", "Ultra"}},
}};

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

// Caption labels that name a check box: a click on them toggles the box, as on Windows.
bool namesCheckBox(int label)
{
    for (const ValueSpec &row : kValues) {
        if (row.label == label && row.kind == Kind::Check)
            return true;
    }
    return false;
}

QStringList listEntries(int combo)
{
    QStringList entries;
    for (const ListEntries &list : kListEntries) {
        if (list.combo == combo) {
            for (const char *entry : list.entries)
                entries << QString::fromLatin1(entry);
        }
    }
    return entries;
}

// Unit labels explain the pair of boxes that their caption names.
constexpr std::array<std::pair<int, int>, 3> kUnitLabels = {{{28, 12}, {32, 33}, {27, 15}}};

QString nameFromCaption(const QString &caption, const char *part)
{
    QString name = caption.trimmed();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    if (part)
        name += QStringLiteral(" (%1)").arg(QLatin1String(part));
    return name;
}

} // namespace

void Form1Ui::setupUi(QWidget *form, Platform &platform)
{
    createLabels(form);
    createSettingControls(form);
    createButtons(form);
    createPictures(form);
    picker = new ExecutablePicker(platform, form);
    accessibility::nameControls(form);
    setTabOrder();
}

// The check boxes, text boxes and lists, each explained by its tooltip and named by its caption.
void Form1Ui::createSettingControls(QWidget *form)
{
    for (const ValueSpec &row : kValues) {
        QWidget *widget = nullptr;
        const QString caption = label[row.label]->text();
        switch (row.kind) {
        case Kind::Check: {
            auto *box = new QCheckBox(form);
            box->setObjectName(QStringLiteral("Check%1").arg(row.number));
            QRect place = twipRect(row.left, row.top, 180, 195);
            // The box alone shows; where the style draws it larger than its place, it gets the room.
            place.setWidth(qMax(place.width(), box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box)));
            place.setHeight(qMax(place.height(), box->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, box)));
            box->setGeometry(place);
            QObject::connect(static_cast<ClickableLabel *>(label[row.label]), &ClickableLabel::clicked, box, [box] {
                box->setFocus(Qt::MouseFocusReason);
                box->click(); // as a click on the box itself, FullScreen/Borderless rule included
            });
            check[row.number] = box;
            widget = box;
            break;
        }
        case Kind::Text: {
            auto *edit = new QLineEdit(form);
            edit->setObjectName(QStringLiteral("Text%1").arg(row.number));
            edit->setText(tarnwell::startupText(QLatin1String(edit->objectName().toLatin1())));
            edit->setGeometry(twipRect(row.left, row.top, row.width, 285));
            edit->setMaxLength(std::numeric_limits<int>::max()); // a value of any length goes back whole
            text[row.number] = edit;
            widget = edit;
            break;
        }
        case Kind::Combo: {
            auto *list = new QComboBox(form);
            list->setObjectName(QStringLiteral("Combo%1").arg(row.number));
            list->setEditable(true);
            list->setInsertPolicy(QComboBox::NoInsert); // typed texts are values, not new entries
            list->setGeometry(twipRect(row.left, row.top, 1215, 315));
            list->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
            combo[row.number] = list;
            widget = list;
            break;
        }
        }
        if (auto *list = qobject_cast<QComboBox *>(widget))
            accessibility::nameList(list, nameFromCaption(caption, row.part));
        else
            widget->setAccessibleName(nameFromCaption(caption, row.part));
        const QString tip = tarnwell::settingToolTip(QLatin1String(widget->objectName().toLatin1()),
                                                     row.kind == Kind::Combo ? listEntries(row.number) : QStringList());
        widget->setToolTip(tip);
        label[row.label]->setToolTip(label[row.label]->toolTip() + tip); // a pair's caption explains both
        if (row.kind != Kind::Text || !row.part)
            label[row.label]->setBuddy(widget);
    }

    for (const auto &[unit, caption] : kUnitLabels)
        label[unit]->setToolTip(label[caption]->toolTip());
}

void Form1Ui::createLabels(QWidget *form)
{
    for (const LabelSpec &row : kLabels) {
        const bool clickable = row.number == 1 || row.number == 20 || namesCheckBox(row.number);
        // The status label keeps to the width that every control keeps to, so the narrow window shows it whole.
        QLabel *caption = row.number == 22 ? new StatusLabel(px(7935), form)
                          : clickable      ? new ClickableLabel(form)
                                           : new QLabel(form);
        caption->setObjectName(QStringLiteral("Label%1").arg(row.number));
        caption->setTextFormat(Qt::PlainText); // captions may come from files: a "<" is a "<"
        caption->setText(row.caption ? QString::fromLatin1(row.caption) : tarnwell::links::addressCaption());
        switch (row.style) {
        case LabelStyle::Caption:
            caption->setFont(arial(9.75));
            setTextColour(caption, QColor(0, 0, 255));
            break;
        case LabelStyle::Status:
            caption->setFont(arial(9));
            setTextColour(caption, QColor(255, 128, 0));
            break;
        case LabelStyle::Web:
            caption->setFont(arial(9, true));
            setTextColour(caption, QColor(0, 255, 255));
            break;
        }
        caption->move(px(row.left), px(row.top));
        caption->adjustSize();
        label[row.number] = caption;
    }
    // Labels size themselves to their caption, so the status label grows to the right.
    label[20]->setCursor(Qt::PointingHandCursor);
    label[22]->setCursor(Qt::PointingHandCursor);
    label[22]->setToolTip(QStringLiteral("Click to copy"));
    label[1]->setCursor(Qt::PointingHandCursor);
    label[1]->setToolTip(QStringLiteral("Click to choose another Quillvane QVX.EXE"));
}

void Form1Ui::createButtons(QWidget *form)
{
    for (const ButtonSpec &row : kButtons) {
        auto *button = new QPushButton(QString::fromLatin1(row.caption), form);
        button->setObjectName(QStringLiteral("Command%1").arg(row.number));
        button->setFont(arial(8.25));
        button->setGeometry(twipRect(row.left, row.top, row.width, row.height));
        button->setAutoDefault(false); // no default-button frame; Enter presses the focused button all the same
        accessibility::pressOnEnter(button);
        command[row.number] = button;
    }
}

// The link pictures and the banner below them.
void Form1Ui::createPictures(QWidget *form)
{
    for (int n = 1; n <= 6; ++n) {
        auto *picture = new ClickableLabel(form);
        picture->setObjectName(QStringLiteral("Image%1").arg(n));
        picture->setGeometry(twipRect((n - 1) * 480, 4995, 480, 480));
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        picture->setCursor(Qt::PointingHandCursor);
        picture->setToolTip(tarnwell::links::imageAddress(n));
        picture->setPixmap(artwork::linkPixmap(n, form->devicePixelRatioF()));
        image[n] = picture;
    }

    webBrowser = new BannerArea(form);
    webBrowser->setObjectName(QStringLiteral("WebBrowser1"));
    webBrowser->setGeometry(twipRect(0, 5520, 7935, 1215));
}

void Form1Ui::setTabOrder()
{
    QList<QWidget *> order{command[1]};
    for (const ValueSpec &row : kValues) {
        switch (row.kind) {
        case Kind::Check: order << check[row.number]; break;
        case Kind::Text: order << text[row.number]; break;
        case Kind::Combo: order << combo[row.number]; break;
        }
    }
    for (const ButtonSpec &row : kButtons) {
        if (row.number != 1)
            order << command[row.number];
    }
    order << picker->drives() << picker->folders() << picker->files();
    // The labels and pictures that act on a click come last, so that the settings keep their order.
    order << label[1] << label[22];
    for (int n = 1; n <= 6; ++n)
        order << image[n];
    order << label[20];
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
    command[1]->setFocus(); // "Apply" has the focus when the window opens, wherever the chain begins
}

void Form1Ui::fillLists()
{
    for (const ListEntries &list : kListEntries) {
        QComboBox *box = combo[list.combo];
        for (const char *entry : list.entries)
            box->addItem(QString::fromLatin1(entry));
        box->setCurrentIndex(0);
    }
}
