// Arbitrary bytes read as a QuickTime/MPEG-4 sample index: whatever they
// hold, the reader answers an index or a reason, allocates only what the
// bytes can back, and the movie header the writer makes from an index it
// accepted reads back with the same samples. Read as a reference movie
// (samples allowed in other files) the same holds, and retiming what was
// read keeps every sample. The streams described from an accepted index
// (what opening a movie reads) are one per track, each in its own time scale.

#include "FuzzWorkFolder.h"
#include "media/detail/QuickTimeStreams.h"
#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/RetimedIndex.h"
#include "media/quicktime/SourceSegments.h"
#include "media/quicktime/detail/AtomStream.h"
#include "media/quicktime/detail/FileLayout.h"
#include "media/quicktime/detail/MovieAtomWriter.h"
#include "media/quicktime/detail/MovieParser.h"

#include <sys/mman.h>
#include <vector>

namespace {

using namespace media::quicktime;
constexpr const char* kTarget = "fuzz_quicktime_index";

std::uint64_t sampleCount(const SourceIndex& index) {
    std::uint64_t count = 0;
    for (const auto& track : index.tracks)
        count += track.samples.count();
    return count;
}

// Plans a self-contained copy of every joinable track and writes its movie
// atom as if the media data began at `mediaData`; parses it back.
void rewrite(const std::shared_ptr<const SourceIndex>& index, std::uint64_t mediaData) {
    static const int scratch = ::memfd_create("fuzz-movie-atom", MFD_CLOEXEC);
    WriteRequest request;
    request.sources.push_back(WriteSource{"fuzz.mov", index});
    request.chapters = {{"Chapter", 600}};
    fuzz::check(appendWholeSource(request, 0).has_value(), kTarget, "appending a given index failed");
    // Edit lists may show the same samples many times over; keep each run quick.
    std::uint64_t planned = 0;
    for (const auto& track : request.tracks)
        for (const auto& segment : track.segments)
            planned += segment.sampleCount;
    if (planned > 1'000'000)
        return;
    auto layout = detail::layOutFile(request, {index});
    if (!layout) {
        fuzz::check(!layout.error().message.empty(), kTarget, "a refusal without a reason");
        return;
    }
    if (::ftruncate(scratch, 0) != 0)
        return;
    detail::AtomStream out(scratch, 0);
    if (!detail::writeMovieAtom(out, *layout, mediaData, 0) || !out.finish())
        return;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(::lseek(scratch, 0, SEEK_END)));
    fuzz::check(::pread(scratch, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()) &&
                    bytes.size() >= 8,
                kTarget, "the written header cannot be read");
    // Samples may share bytes (edits that show them twice): read back without holding counts to a size.
    auto reread = detail::parseMovie(std::span(bytes).subspan(8), 1ull << 40);
    fuzz::check(reread.has_value(), kTarget, "the written header does not read back");
    // Every sample lies in the media data the layout laid out.
    for (const auto& track : reread->tracks)
        for (std::size_t i = 0; i < track.samples.count(); ++i)
            fuzz::check(track.samples.offset(i) >= mediaData &&
                            track.samples.offset(i) + track.samples.byteSize(i) <=
                                mediaData + layout->mediaDataSize,
                        kTarget, "a written sample lies outside the media data");
}

// Stretched and shrunk, an index keeps its samples and their bytes, or says why not.
void retime(const SourceIndex& index) {
    for (const auto& [numerator, denominator] : {std::pair<std::int64_t, std::int64_t>{3, 2}, {1, 50}}) {
        auto retimed = retimedIndex(index, numerator, denominator);
        fuzz::check(retimed ? sampleCount(*retimed) == sampleCount(index) : !retimed.error().message.empty(),
                    kTarget, "retiming lost samples or gave no reason");
    }
}

// Describing an index's streams never reads past a sample description.
void describe(const SourceIndex& index) {
    const auto streams = media::detail::describeQuickTimeStreams(index);
    if (!streams)
        return;
    fuzz::check(streams->size() == index.tracks.size(), kTarget, "a stream described for no track or twice");
    for (std::size_t i = 0; i < streams->size(); ++i) {
        const auto& stream = (*streams)[i];
        fuzz::check(!stream.usable || (stream.timeScale == index.tracks[i].mediaTimeScale &&
                                       stream.range.duration.value >= 0 && !stream.codecName.empty()),
                    kTarget, "a usable stream without a codec, a scale or a length");
        if (stream.usable)
            (void)media::detail::sameDescribedParameters(stream, (*streams)[0]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Every sample costs the file at least half a byte (4-bit compact size tables).
    auto reference = readReferenceMovieIndex(std::span(data, size));
    fuzz::check(reference ? sampleCount(*reference) <= 2 * size + 16 : !reference.error().message.empty(),
                kTarget, "a reference index larger than its bytes, or a refusal without a reason");
    if (reference)
        retime(*reference);
    auto index = readIndex(std::span(data, size));
    fuzz::check(index ? sampleCount(*index) <= 2 * size + 16 : !index.error().message.empty(), kTarget,
                "an index larger than its bytes, or a refusal without a reason");
    if (!index)
        return 0;
    describe(*index);
    rewrite(std::make_shared<const SourceIndex>(std::move(*index)), 48);
    return 0;
}
