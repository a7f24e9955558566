#include "cli/ListDurations.h"

#include <algorithm>

namespace cli {

ListDurations listDurations(const filelist::FileList& list) {
    ListDurations result;
    for (const filelist::MovieEntry& entry : list.movies()) {
        if (!entry.movie)
            continue;
        result.durations.push_back(entry.movie->duration());
        result.timeScale = std::max(result.timeScale, entry.movie->timeScale());
    }
    return result;
}

} // namespace cli
