// Arbitrary bytes opened as a movie: whatever they hold, opening answers a movie
// or a reason, the quick probe agrees with a full open, and what opens answers
// its attributes, a frame image and a frame count without failing.

#include "FuzzWorkFolder.h"
#include "media/Movie.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

// The media layer opens paths, not memory.
bool writeScratch(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out.flush());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::filesystem::path file = fuzz::workFolder("fuzz_open_movie") / "input.mov";
    if (!writeScratch(file, data, size))
        return 0;
    const bool probed = media::Movie::canOpen(file);
    auto movie = media::Movie::open(file);
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
