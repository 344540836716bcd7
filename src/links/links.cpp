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

} // namespace tarnwell::links
