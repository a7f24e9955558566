#include "cli/ListDurations.h"

#include <algorithm>

namespace cli {

ListDurations listDurations(const filelist::FileList& list) {
    ListDurations result;
    for (const filelist::MovieEntry& entry : list.movies()) {
        if (!entry.qtkMovie)
            continue;
        result.durations.push_back(entry.qtkMovie->duration());
        result.timeScale = std::max(result.timeScale, entry.qtkMovie->timeScale());
    }
    return result;
}

} // namespace cli
