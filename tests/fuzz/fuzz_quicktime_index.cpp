// Arbitrary bytes read as a QuickTime/MPEG-4 sample index: whatever they
// hold, the reader answers an index or a reason, allocates only what the
// bytes can back, and the movie header the writer makes from an index it
// accepted reads back with the same samples. Read as a reference movie
// (samples allowed in other files) the same holds, and retiming what was
// read keeps every sample.

#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/RetimedIndex.h"
#include "media/quicktime/SourceSegments.h"
#include "media/quicktime/detail/AtomStream.h"
#include "media/quicktime/detail/MovieAtomWriter.h"
#include "media/quicktime/detail/MovieParser.h"
#include "media/quicktime/detail/FileLayout.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace media::quicktime;

int scratch() {
    static const int fd = ::memfd_create("fuzz-movie-atom", MFD_CLOEXEC);
    return fd;
}

std::uint64_t sampleCount(const SourceIndex& index) {
    std::uint64_t count = 0;
    for (const auto& track : index.tracks)
        count += track.samples.count();
    return count;
}

// Plans a self-contained copy of every joinable track and writes its movie
// atom as if the media data began at `mediaData`; parses it back.
void rewrite(const std::shared_ptr<const SourceIndex>& index, std::uint64_t mediaData) {
    WriteRequest request;
    request.sources.push_back(WriteSource{"fuzz.mov", index});
    request.chapters = {{"Chapter", 600}};
    if (!appendWholeSource(request, 0))
        std::abort(); // the index is given: appending cannot fail
    // Edit lists may show the same samples many times over; keep each run quick.
    std::uint64_t planned = 0;
    for (const auto& track : request.tracks)
        for (const auto& segment : track.segments)
            planned += segment.sampleCount;
    if (planned > 1'000'000)
        return;
    auto layout = detail::layOutFile(request, {index});
    if (!layout) {
        if (layout.error().message.empty())
            std::abort();
        return;
    }
    if (::ftruncate(scratch(), 0) != 0)
        return;
    detail::AtomStream out(scratch(), 0);
    if (!detail::writeMovieAtom(out, *layout, mediaData, 0) || !out.finish())
        return;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(::lseek(scratch(), 0, SEEK_END)));
    if (::pread(scratch(), bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()) ||
        bytes.size() < 8)
        std::abort();
    // Samples may share bytes (edits that show them twice): read back without holding counts to a size.
    auto reread = detail::parseMovie(std::span(bytes).subspan(8), 1ull << 40);
    if (!reread) {
        std::fprintf(stderr, "fuzz_quicktime_index: the written header does not read back: %s\n",
                     reread.error().message.c_str());
        std::abort();
    }
    // Every sample lies in the media data the layout laid out.
    for (const auto& track : reread->tracks)
        for (std::size_t i = 0; i < track.samples.count(); ++i)
            if (track.samples.offset(i) < mediaData ||
                track.samples.offset(i) + track.samples.byteSize(i) > mediaData + layout->mediaDataSize) {
                std::fprintf(stderr, "fuzz_quicktime_index: a written sample lies outside the media data\n");
                std::abort();
            }
}

// Stretched and shrunk, an index keeps its samples and their bytes, or says why not.
void retime(const SourceIndex& index) {
    for (const auto& [numerator, denominator] : {std::pair<std::int64_t, std::int64_t>{3, 2}, {1, 50}}) {
        auto retimed = retimedIndex(index, numerator, denominator);
        if (!retimed) {
            if (retimed.error().message.empty())
                std::abort();
            continue;
        }
        if (sampleCount(*retimed) != sampleCount(index))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto reference = readReferenceMovieIndex(std::span(data, size));
    if (reference) {
        if (sampleCount(*reference) > 2 * size + 16)
            std::abort();
        retime(*reference);
    } else if (reference.error().message.empty()) {
        std::abort();
    }
    auto index = readIndex(std::span(data, size));
    if (!index) {
        if (index.error().message.empty())
            std::abort(); // a refusal always says why
        return 0;
    }
    // Every sample costs the file at least half a byte (4-bit compact size tables).
    if (sampleCount(*index) > 2 * size + 16)
        std::abort();
    rewrite(std::make_shared<const SourceIndex>(std::move(*index)), 48);
    return 0;
}
