// SPDX-License-Identifier: MIT
// The catalogue table itself.
#include "settings/catalogue.h"

#include <array>

namespace tarnwell {

namespace {

using K = ControlKind;
constexpr auto G = SettingsFile::Graphics;
constexpr auto U = SettingsFile::User;

constexpr CatalogueRow check(SettingsFile file, const char *property, const char *control, const char *flag,
                             const char *whenChecked, const char *whenCleared, bool flagChecks = true,
                             const char *alsoClears = nullptr)
{
    return {file,
            QByteArrayView(property),
            QLatin1String(control),
            K::Check,
            QByteArrayView(flag),
            flagChecks,
            alsoClears ? QLatin1String(alsoClears) : QLatin1String(),
            QByteArrayView(whenChecked),
            QByteArrayView(whenCleared)};
}

constexpr CatalogueRow value(SettingsFile file, const char *property, const char *control, ControlKind kind)
{
    return {file, QByteArrayView(property), QLatin1String(control), kind};
}

const std::array<CatalogueRow, kCatalogueSize> kRows = {{
    check(G, "FullScreen", "Check1", "true", "true", "false", true, "Check2"),
    check(G, "Borderless", "Check2", "true", "true", "false", true, "Check1"),
    value(G, "ResolutionWidth", "Combo1", K::ResWidth),
    value(G, "ResolutionHeight", "Combo1", K::ResHeight),
    check(G, "VsyncEx", "Check3", "On", "On", "Off"),
    check(G, "Gsync", "Check8", "true", "true", "false"),
    check(G, "UseScreenResolution", "Check10", "true", "true", "false"),
    value(G, "ShadowDetail", "Combo7", K::Combo),
    value(G, "TextureDetail", "Combo2", K::Combo),
    value(G, "GenerationDetail", "Combo3", K::Combo),
    value(G, "ReflectionsQuality", "Combo4", K::Combo),
    value(G, "AntiAliasingEx2", "Combo5", K::Combo),
    value(G, "MotionBlurQuality", "Combo6", K::Combo),
    value(G, "MotionBlurStrength", "Text7", K::Text),
    value(G, "AnisotropyLevel", "Text1", K::Text),
    value(G, "FoVOnFoot", "Text2", K::Text),
    value(G, "FoVInShip", "Text8", K::Text),
    value(G, "Brightness", "Text3", K::Text),
    value(G, "MaxframeRate", "Text4", K::Text),
    value(G, "NumHighThreads", "Text5", K::Text),
    value(G, "NumLowThreads", "Text9", K::Text),
    check(G, "TextureStreamingEx", "Check4", "Auto", "Auto", "Off"),
    value(G, "TexturePageSizeKb", "Text6", K::Text),
    check(G, "AmbientOcclusion", "Check7", "HBAO", "HBAO", "Off"),
    check(G, "UseHDR", "Check5", "true", "true", "false"),
    check(G, "UseLightshafts", "Check6", "true", "true", "false"),
    // One box, two flags: 0.50 checks it, 0.01 clears it, anything else leaves it alone.
    check(G, "MouseClickSpeedMultiplier", "Check9", "0.50", "0.50", "0.01"),
    check(G, "MouseClickSpeedMultiplier", "Check9", "0.01", "0.50", "0.01", false),
    check(G, "EnableTessellation", "Check13", "true", "true", "false"),
    check(U, "Vibration", "Check11", "true", "true", "false"),
    check(U, "HUDHidden", "Check12", "true", "true", "false"),
    value(U, "MusicVolume", "Text11", K::Text),
    value(U, "SfxVolume", "Text10", K::Text),
}};

} // namespace

std::span<const CatalogueRow> catalogue()
{
    return kRows;
}

} // namespace tarnwell
