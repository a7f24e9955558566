// Chunk offsets beyond 4 GB: the tables of a movie whose media data would
// start past 4 GB are written with 64-bit offsets and read back exactly,
// without writing gigabytes.

#include "JoinChecks.h"
#include "SharedClips.h"
#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/detail/AtomStream.h"
#include "media/quicktime/detail/FileLayout.h"
#include "media/quicktime/detail/MovieAtomWriter.h"
#include "media/quicktime/detail/MovieParser.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace media::quicktime;

using WrittenHeader = std::vector<std::uint8_t>;

bool has(const WrittenHeader& header, const char* type) {
    return std::search(header.begin(), header.end(), type, type + 4) != header.end();
}

// The movie atom the writer makes for `request` if its media data began at `mediaData`.
WrittenHeader movieAtomAt(const WriteRequest& request, std::uint64_t mediaData) {
    std::vector<std::shared_ptr<const SourceIndex>> indexes;
    for (const auto& source : request.sources)
        indexes.push_back(source.index);
    auto layout = detail::layOutFile(request, indexes);
    EXPECT_TRUE(layout.has_value());
    const int fd = ::memfd_create("movie-atom", MFD_CLOEXEC);
    detail::AtomStream out(fd, 0);
    EXPECT_TRUE(detail::writeMovieAtom(out, *layout, mediaData, 0).has_value());
    EXPECT_TRUE(out.finish().has_value());
    WrittenHeader header(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)));
    EXPECT_EQ(::pread(fd, header.data(), header.size(), 0), static_cast<ssize_t>(header.size()));
    ::close(fd);
    return header;
}

SourceIndex parse(const WrittenHeader& header) {
    auto index = detail::parseMovie(std::span(header).subspan(8), 1ull << 40);
    EXPECT_TRUE(index.has_value()) << index.error().message;
    return index.value_or(SourceIndex{});
}

TEST(LargeOffsetTest, OffsetsPastFourGigabytesUseSixtyFourBits) {
    const auto request = quicktime_test::joinRequest(
        {fixtures::test::h264AacClip("mp4", 25), fixtures::test::h264AacClip("mp4", 30)}, OutputKind::Mpeg4);
    const WrittenHeader near = movieAtomAt(request, 48);
    const WrittenHeader far = movieAtomAt(request, 5ull << 30);
    // Only the last samples pass 4 GB: the whole table goes to 64 bits.
    const WrittenHeader straddling = movieAtomAt(request, (4ull << 30) - 20000);
    EXPECT_TRUE(has(near, "stco") && !has(near, "co64"));
    EXPECT_TRUE(has(far, "co64") && !has(far, "stco"));
    EXPECT_TRUE(has(straddling, "co64"));
    const SourceIndex nearIndex = parse(near);
    for (const WrittenHeader* header : {&far, &straddling}) {
        const std::uint64_t shift = (header == &far ? 5ull << 30 : (4ull << 30) - 20000) - 48;
        const SourceIndex index = parse(*header);
        ASSERT_EQ(index.tracks.size(), nearIndex.tracks.size());
        for (std::size_t t = 0; t < index.tracks.size(); ++t) {
            const SampleList& samples = index.tracks[t].samples;
            ASSERT_EQ(samples.count(), nearIndex.tracks[t].samples.count());
            for (std::size_t i = 0; i < samples.count(); ++i) {
                ASSERT_EQ(samples.offset(i), nearIndex.tracks[t].samples.offset(i) + shift);
                ASSERT_EQ(samples.byteSize(i), nearIndex.tracks[t].samples.byteSize(i));
            }
        }
    }
}

} // namespace
