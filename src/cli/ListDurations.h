#pragma once

#include "filelist/FileList.h"
#include "media/Time.h"

#include <vector>

namespace cli {

// The durations of the list's movies and the finest of their time scales:
// what a joined movie of them would last, in the scale it would have.
struct ListDurations final {
    std::vector<media::Time> durations;
    std::int32_t timeScale = 0;
};
ListDurations listDurations(const filelist::FileList& list);

} // namespace cli
