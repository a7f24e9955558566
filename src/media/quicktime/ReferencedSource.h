#pragma once

#include "media/Error.h"
#include "media/quicktime/SourceIndex.h"

#include <cstdint>
#include <expected>
#include <filesystem>
#include <memory>

namespace media::quicktime {

// Where the samples of one track of a movie are: a file and an index whose
// places and size are those of that file.
struct TrackSource final {
    std::filesystem::path file;
    std::shared_ptr<const SourceIndex> index;
};

// The source of track `track` of the movie at `movie`, whose index (read by
// readReferenceMovieIndex) is `index`: the movie itself when the track's
// samples are in it, else the file its data reference's alias record names,
// with a copy of the index sized for that file. Refused (ENOTSUP) when the
// track's samples are spread over several files or named by a reference of
// another kind, and (EBADMSG) when they lie beyond the end of the named file.
[[nodiscard]] std::expected<TrackSource, Error> trackSource(const std::filesystem::path& movie,
                                                            const std::shared_ptr<const SourceIndex>& index,
                                                            std::uint32_t track);

// Whether a QuickTime movie plays samples of other files (a reference movie).
bool refersToOtherFiles(const std::filesystem::path& movie);

} // namespace media::quicktime
