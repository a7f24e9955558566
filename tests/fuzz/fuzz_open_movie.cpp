// Arbitrary bytes opened as a movie: opening answers a movie or a reason, the
// quick probe agrees with a full open, and what opens answers its attributes,
// a frame image and a frame count without failing.

#include "FuzzWorkFolder.h"
#include "media/Movie.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = fuzz::writeInput("fuzz_open_movie", "input.mov", data, size);
    const bool probed = media::Movie::canOpen(file);
    auto movie = media::Movie::open(file);
    fuzz::check(probed == movie.has_value(), "fuzz_open_movie", "the probe and open disagree");
    if (!movie) {
        fuzz::check(!movie.error().message.empty(), "fuzz_open_movie", "a refusal without a reason");
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
