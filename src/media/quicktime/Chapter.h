#pragma once

#include <cstdint>
#include <string>

namespace media::quicktime {

// One chapter of a written movie. Chapters follow each other from the start
// of the movie, each lasting its duration. A chapter without a title adds no
// sample to the chapter track, so the chapters after it begin that much
// earlier (its time is not given to the chapter before it).
struct Chapter final {
    std::string title;         // UTF-8
    std::int64_t duration = 0; // movie units
};

} // namespace media::quicktime
