#pragma once

#include "media/Error.h"
#include "media/quicktime/WriteRequest.h"

#include <expected>
#include <filesystem>

namespace media::quicktime {

// Writes the movie the request describes to `destination`, without decoding
// anything: the samples of the sources are copied (self-contained) or
// referred to, and the sample tables are made from the sources' indexes.
//
// Self-contained, the file is 'ftyp', then 'mdat' holding, for each source,
// the span of its bytes that its samples occupy (copied in the kernel where
// the file systems allow it, interleaving kept, sources ordered by when they
// first play; spans of a source that overlap are copied once), then 'moov'.
// Referring, the file is 'ftyp', a small 'mdat' holding only the chapter
// titles and the samples of embedded sources, and 'moov'; each source gets
// tracks of its own (one per track it plays in), with an alias record as
// their data reference (embedded sources: this file).
//
// Sample descriptions are copied byte for byte; identical ones are shared
// within a track. A track whose segments are all empty is left out. With
// chapters and a video track, a chapter track follows the other tracks.
//
// The file is written beside the destination under a temporary name and
// renamed into place when complete: a failed or cancelled write (ECANCELED)
// leaves no file and never replaces an existing destination. The new file is
// not flushed to the disk before the rename.
[[nodiscard]] std::expected<void, Error> writeQuickTimeFile(const std::filesystem::path& destination,
                                                            const WriteRequest& request);

} // namespace media::quicktime
