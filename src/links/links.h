// SPDX-License-Identifier: MIT
// The author's web addresses: the one place to change them.
#pragma once

#include <QString>

namespace tarnwell::links {

// Image1..Image6, in order: social network, microblog, game store community, code hosting,
// home page, video channel.
QString imageAddress(int image);
// The home page, also opened by the web-address label.
QString homePage();
// The web-address label's caption: a blank, then the author's address.
QString addressCaption();
// The banner's ad unit with its size and colours, loaded once at start-up.
QString bannerAddress();

} // namespace tarnwell::links
