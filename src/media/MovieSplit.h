#pragma once

#include "media/Error.h"
#include "media/Time.h"

#include <expected>
#include <filesystem>
#include <functional>
#include <vector>

namespace media {

// Cuts the movie file `source` at `cuts` (ascending movie times) into
// `pieces` (one more than the cuts), each a self-contained movie holding
// exactly its span: every video frame of the source lands in one piece, the
// one its display time falls in (a cut inside a frame's display interval
// belongs to that frame, which then starts the next piece), and the sound
// goes with it so both stay in sync. Whole groups of pictures are copied
// without decoding; where a cut falls between key frames only the pictures
// from the cut to the next key frame (and, for streams that reorder their
// pictures, those from the key frame before the cut up to it) are encoded
// again. `progress` gets the fraction done and answers false to cancel.
// Pieces are written atomically; on failure or cancel none is left behind.
[[nodiscard]] std::expected<void, Error> splitMovieFile(const std::filesystem::path& source,
                                                        const std::vector<Time>& cuts,
                                                        const std::vector<std::filesystem::path>& pieces,
                                                        const std::function<bool(double)>& progress = {});

} // namespace media
