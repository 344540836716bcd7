// SPDX-License-Identifier: MIT
#include "links/links.h"

#include <array>

namespace tarnwell::links {

namespace {
// Reserved example domains until the author's own pages exist: they reach no third party's account.
constexpr std::array<const char *, 6> kImageAddresses = {
    "http://social.example.com/tarnwell",
    "http://microblog.example.com/tarnwell",
    "http://community.example.net/id/tarnwell",
    "http://code.example.org/tarnwell",
    "http://www.example.com/",
    "http://video.example.com/tarnwell",
};
constexpr int kHomePage = 5;
constexpr const char *kShownAddress = "www.example.com";
// The ad unit of the banner; its query string sets the banner's size and colours.
constexpr const char *kBannerUnit = "http://ads.example.net/units/tarnwell-468x60";
constexpr const char *kBannerQuery = "size=468x60&background_color=CCCCCC&title_color=0000ff&link_color=313370"
                                     "&text_color=ffffff&title_hover_color=ff8c00&link_hover_color=ff8c00";
} // namespace

QString imageAddress(int image)
{
    if (image < 1 || image > int(kImageAddresses.size()))
        return QString();
    return QString::fromLatin1(kImageAddresses[image - 1]);
}

QString homePage()
{
    return imageAddress(kHomePage);
}

QString addressCaption()
{
    return QLatin1Char(' ') + QString::fromLatin1(kShownAddress);
}

QString bannerAddress()
{
    return QString::fromLatin1(kBannerUnit) + QLatin1Char('?') + QString::fromLatin1(kBannerQuery);
}

} // namespace tarnwell::links
