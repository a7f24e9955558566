#pragma once

#include "media/Time.h"

#include <QString>

namespace join {

// One chapter of a joined movie: its title and how long the movie it names lasts.
struct UserText final {
    media::Time duration;
    QString text;
};

} // namespace join
