// SPDX-License-Identifier: MIT
// The help table itself, by the controls' object names as the catalogue gives them.
#include "settings/settingshelp.h"

#include "settings/catalogue.h"

#include <array>

namespace tarnwell {

namespace {

struct Help {
    const char *control;
    const char *text;
};

// What the game can use of a text value: the sizes real settings have, with room to spare.
struct Range {
    const char *control;
    bool whole;
    int min;
    int max;
};

constexpr std::array<Range, 12> kRanges = {{
    {"Combo1", true, 1, 16384}, // each of width and height
    {"Text1", true, 1, 16},     {"Text2", false, 30, 180}, {"Text8", false, 30, 180}, {"Text3", false, 0, 300},
    {"Text11", true, 0, 100},   {"Text10", true, 0, 100},  {"Text5", true, 1, 256},   {"Text9", true, 1, 256},
    {"Text7", true, 0, 1000},   {"Text6", true, 1, 65536}, {"Text4", true, 0, 1000},
}};

const Range *rangeOf(QLatin1String control)
{
    for (const Range &range : kRanges) {
        if (control == QLatin1String(range.control))
            return &range;
    }
    return nullptr;
}

// Only ASCII blanks: the game reads numbers with atoi and strtod, which take no other spaces.
QString asciiTrimmed(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (begin < end && blank(text[begin]))
        ++begin;
    while (end > begin && blank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

bool inRange(const Range &range, const QString &text)
{
    // Blanks around a number are the user's to keep; the number is what counts.
    const QString number = asciiTrimmed(text);
    // "-0" is zero to strtod, but a reader of numbers that cannot be negative may refuse it.
    if (number.startsWith(QLatin1Char('-')) && range.whole && range.min >= 0)
        return false;
    bool ok = !number.isEmpty();
    for (const QChar c : number) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        ok = ok && (digit || (!range.whole && c == QLatin1Char('.')) || c == QLatin1Char('-'));
    }
    const double value = ok ? number.toDouble(&ok) : 0;
    return ok && value >= range.min && value <= range.max;
}

constexpr std::array<Help, 31> kHelp = {{
    {"Check1", "Runs the game in exclusive full screen rather than in a window. Borderless is cleared, as the "
               "two cannot be on together."},
    {"Check2", "Runs the game in a frameless window that covers the screen, so that switching to other programs "
               "is quick. FullScreen is cleared, as the two cannot be on together."},
    {"Check3", "Waits for the screen's refresh before showing each frame: no tearing, but a little more input "
               "delay."},
    {"Check8", "Lets a screen with variable refresh (G-Sync) follow the game's frame rate."},
    {"Check10", "Runs the game at the desktop's own resolution; the Resolution list is then not used."},
    {"Check11", "Lets the game make a gamepad vibrate."},
    {"Check12", "Hides the heads-up display: the readouts and markers drawn over the game's view."},
    {"Combo2", "How detailed the textures on surfaces are. Higher needs more video memory."},
    {"Combo3", "How much detail the game generates in the world around you, such as terrain, plants and rocks. "
               "Higher costs frame rate."},
    {"Combo4", "How detailed reflections on water, glass and metal are."},
    {"Combo5", "Smooths jagged edges. FXAA is quick but soft; TAA blends several frames for a steadier picture."},
    {"Combo6", "How smooth motion blur looks; Off turns motion blur off."},
    {"Combo7", "How sharp shadows are and how far away they are still drawn."},
    {"Combo1", "The game's picture size in pixels, width x height. Any size can be typed."},
    {"Text1", "Keeps textures sharp where a surface is seen at a slant; larger is sharper. Usual levels are 1, 2, "
              "4, 8 and 16."},
    {"Text2", "How wide the view is while on foot; larger shows more at the sides."},
    {"Text8", "How wide the view is while flying a ship; larger shows more at the sides."},
    {"Text3", "How bright the game's picture is; larger is brighter."},
    {"Text11", "How loud the music is; 0 is silent."},
    {"Text10", "How loud the sound effects are; 0 is silent."},
    {"Text5", "How many processor threads the game gives to its most urgent work."},
    {"Text9", "How many processor threads the game gives to background work, such as loading."},
    {"Text7", "How strong motion blur is when Motion Blur Quality is not Off."},
    {"Text6", "The size, in kilobytes, of the pieces in which textures are streamed to the graphics card."},
    {"Text4", "The highest frame rate, in frames per second, that the game runs at."},
    {"Check4", "Loads textures while you play rather than all at the start (Auto); cleared, it is Off."},
    {"Check5", "Shows the game in high dynamic range, on a screen that supports it."},
    {"Check6", "Draws beams of light where it falls through gaps, such as sunlight through clouds."},
    {"Check7", "Darkens creases and corners that little light reaches (HBAO), for a sense of depth; cleared, it is "
               "Off."},
    {"Check13", "Adds fine detail to the shape of surfaces close to the camera."},
    {"Check9", "How fast buttons that must be held down fill up in the menus: checked fills quickly (0.50), "
               "cleared slowly (0.01)."},
}};

QString fileName(SettingsFile file)
{
    return file == SettingsFile::Graphics ? QStringLiteral("TKGRAPHICSSETTINGS.MXML")
                                          : QStringLiteral("GCUSERSETTINGSDATA.MXML");
}

QString paragraph(const QString &text)
{
    return QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped());
}

} // namespace

QString valueRange(QLatin1String control)
{
    const Range *range = rangeOf(control);
    if (!range)
        return {};
    return QStringLiteral("%1 from %2 to %3")
        .arg(range->whole ? QStringLiteral("a whole number") : QStringLiteral("a number"))
        .arg(range->min)
        .arg(range->max);
}

bool inRange(QLatin1String control, const QString &text)
{
    return rangeProblem(control, text).isEmpty();
}

QString rangeProblem(QLatin1String control, const QString &text)
{
    const Range *range = rangeOf(control);
    if (!range || inRange(*range, text))
        return {};
    QString problem = QStringLiteral("takes %1").arg(valueRange(control));
    // A comma marks decimals in many languages; the game reads "1,5" as 1, or not at all.
    if (!range->whole && text.contains(QLatin1Char(','))) {
        const QString dotted = asciiTrimmed(text).replace(QLatin1Char(','), QLatin1Char('.'));
        problem += QStringLiteral("; the game takes a dot, not a comma, before decimals (%1)")
                       .arg(inRange(*range, dotted) ? dotted : QStringLiteral("1.5"));
    }
    return problem;
}

QString settingHelp(QLatin1String control)
{
    for (const Help &help : kHelp) {
        if (control == QLatin1String(help.control))
            return QString::fromLatin1(help.text);
    }
    return QString();
}

QString settingToolTip(QLatin1String control, const QStringList &values)
{
    const QString help = settingHelp(control);
    if (help.isEmpty())
        return QString();
    QString tip = paragraph(help);
    if (!values.isEmpty())
        tip += paragraph(QStringLiteral("Values: ") + values.join(QStringLiteral(", ")));
    else if (const QString range = valueRange(control); !range.isEmpty())
        tip += paragraph(QStringLiteral("Values: ") + range);
    // Where it is kept, for those who look into the files themselves; a property of two rows once.
    QStringList kept;
    for (const CatalogueRow &row : catalogue()) {
        if (row.control != control)
            continue;
        const QString where = QStringLiteral("%1 in %2").arg(QLatin1String(row.property.data(), row.property.size()), fileName(row.file));
        if (!kept.contains(where))
            kept << where;
    }
    if (!kept.isEmpty())
        tip += paragraph(kept.join(QStringLiteral(", ")));
    return tip;
}

} // namespace tarnwell
