// Arbitrary bytes opened as a movie: whatever they hold, opening answers a movie
// or a reason, the quick probe agrees with a full open, and what opens answers
// its attributes, a frame image and a frame count without failing.

#include "media/Movie.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

// One scratch file per fuzzing process: the media layer opens paths, not memory.
const std::filesystem::path& scratchFile() {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("joinclip-fuzz-open-" + std::to_string(::getpid()) + ".mov");
    return path;
}

bool writeScratch(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(scratchFile().c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (!writeScratch(data, size))
        return 0;
    const bool probed = media::Movie::canOpen(scratchFile());
    auto movie = media::Movie::open(scratchFile());
    if (probed != movie.has_value()) {
        std::fprintf(stderr, "fuzz_open_movie: probe says %d but open says %d\n", probed, movie.has_value());
        std::abort();
    }
    if (!movie) {
        if (movie.error().message.empty())
            std::abort(); // a refusal always says why
        return 0;
    }
    const media::Movie& m = **movie;
    (void)m.displayName();
    (void)m.naturalSize();
    (void)media::timeToString(m.duration());
    (void)m.frameCount();
    (void)m.frameImage(media::zeroTime());
    (void)m.frameImage(m.duration());
    return 0;
}
