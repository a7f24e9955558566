#pragma once

#include <QUrl>
#include <optional>

namespace app {

// The pages of the Help menu. A build knows the project's web page only when
// it was given one (JOINCLIP_HOMEPAGE_URL); the manual is the README
// installed with the program, or the one of the source tree a build that was
// not installed came from. None: the menu hides the item.
std::optional<QUrl> manualAddress();
std::optional<QUrl> productPageAddress();
// The program's entry in the desktop's software centre, by its AppStream id.
QUrl softwareCentreAddress();

} // namespace app
