#pragma once

#include "media/Time.h"

#include <filesystem>
#include <vector>

namespace tools {

// Where the pieces of `source` cut at `cuts` go by default: beside the source,
// each named "NAME [START].mov" after the source's name without its extension
// and the text form of the time the piece starts at (0 for the first), made
// safe for file names.
std::vector<std::filesystem::path> splitPiecePaths(const std::filesystem::path& source,
                                                   const std::vector<media::Time>& cuts);

} // namespace tools
