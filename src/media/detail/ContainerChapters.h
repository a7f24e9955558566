#pragma once

// Private to src/media: the chapters a container names.

#include "media/Movie.h"

#include <cstdint>
#include <vector>

namespace media {

class SourceFile;

// The file's chapters in time order, as times of `movieTimeScale` measured
// from the file's start. A chapter that ends before it starts lasts until
// the next one; untitled chapters keep an empty title.
std::vector<MovieChapter> readContainerChapters(const SourceFile& source, std::int32_t movieTimeScale);

} // namespace media
