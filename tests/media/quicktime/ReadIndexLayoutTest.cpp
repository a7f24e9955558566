// The index reader on every layout the format allows, built byte by byte.

#include "TinyMovie.h"
#include "media/quicktime/ReadIndex.h"

#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;
using quicktime_test::TinyMovieOptions;

// The one track of the tiny movie; `dataOffset` receives where its first sample starts.
TrackIndex readTiny(const TinyMovieOptions& options, std::uint64_t* dataOffset = nullptr) {
    auto index = readIndex(quicktime_test::tinyMovie(options, dataOffset));
    if (!index || index->tracks.size() != 1) {
        ADD_FAILURE() << (index ? "not one track" : index.error().message);
        return {};
    }
    EXPECT_EQ(index->movieTimeScale, 600);
    EXPECT_EQ(index->majorBrand, makeFourCC("isom"));
    return index->tracks[0];
}

// Every layout of plain samples reads back the same samples, with the movie
// header before or after the data: sample i is `sampleSize` bytes at
// dataOffset + i * sampleSize.
TEST(ReadIndexLayoutTest, EveryLayoutReadsBackItsSamples) {
    const TinyMovieOptions layouts[] = {{},
                                        {.wideSizes = true, .wideChunkOffsets = true},
                                        {.paddingAtoms = true},
                                        {.samples = 5, .sampleSize = 9, .compactSizeBits = 4},
                                        {.samples = 5, .sampleSize = 9, .compactSizeBits = 16},
                                        {.sampleSize = 64, .constantSize = true},
                                        {.samples = 7, .samplesPerChunk = 3}};
    for (const TinyMovieOptions& base : layouts) {
        for (bool first : {false, true}) {
            TinyMovieOptions options = base;
            options.moovFirst = first;
            SCOPED_TRACE(testing::Message()
                         << "layout " << (&base - layouts) << (first ? ", header first" : ""));
            std::uint64_t data = 0;
            const TrackIndex track = readTiny(options, &data);
            EXPECT_EQ(track.handler, Handler::Video);
            EXPECT_EQ(track.mediaTimeScale, 1000);
            EXPECT_EQ(track.codec(0), makeFourCC("avc1"));
            ASSERT_EQ(track.samples.count(), options.samples);
            for (std::size_t i = 0; i < track.samples.count(); ++i) {
                EXPECT_EQ(track.samples.offset(i), data + i * options.sampleSize) << "sample " << i;
                EXPECT_EQ(track.samples.byteSize(i), options.sampleSize) << "sample " << i;
                EXPECT_EQ(track.samples.duration(i), options.sampleDuration) << "sample " << i;
                EXPECT_EQ(track.samples.startsChunk(i), i % options.samplesPerChunk == 0) << "sample " << i;
            }
        }
    }
}

TEST(ReadIndexLayoutTest, CompositionOffsetsOfBothVersionsAndSyncSamples) {
    TrackIndex track = readTiny({.compositionOffsets = {200, 0, 100}});
    EXPECT_EQ(track.samples.compositionOffset(0), 200);
    EXPECT_EQ(track.samples.compositionOffset(2), 100);
    EXPECT_EQ(readTiny({.compositionOffsets = {100, -100, 0}}).samples.compositionOffset(1), -100);
    track = readTiny({.samples = 4});
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(track.samples.isSync(i)) << "no table: every sample is a sync sample";
    track = readTiny({.samples = 4, .syncSamples = {1, 3, 99}});
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(track.samples.isSync(i), i % 2 == 0) << "sample " << i;
}

TEST(ReadIndexLayoutTest, UncompressedSoundIsKeptChunkByChunk) {
    std::uint64_t data = 0;
    // 3000 frames of 16-bit stereo.
    const TrackIndex track = readTiny({.handler = "soun",
                                       .codec = "sowt",
                                       .samples = 3000,
                                       .sampleSize = 4,
                                       .sampleDuration = 1,
                                       .constantSize = true,
                                       .samplesPerChunk = 1024},
                                      &data);
    ASSERT_TRUE(track.packed.has_value());
    EXPECT_EQ(track.packed->sampleSize, 4u);
    ASSERT_EQ(track.samples.count(), 3u) << "one entry per chunk";
    EXPECT_EQ(track.samples.byteSize(0), 4096u);
    EXPECT_EQ(track.samples.duration(0), 1024u);
    EXPECT_EQ(track.samples.offset(1), data + 4096);
    EXPECT_EQ(track.samples.byteSize(2), (3000u - 2048u) * 4u);
    EXPECT_EQ(track.samples.totalDuration(), 3000);
}

TEST(ReadIndexLayoutTest, LongTablesStaySmall) {
    // An hour at 30 frames a second.
    const TrackIndex track =
        readTiny({.samples = 108000, .sampleSize = 8, .samplesPerChunk = 30, .syncSamples = {1, 31, 61}});
    ASSERT_EQ(track.samples.count(), 108000u);
    EXPECT_LT(track.samples.memoryBytes(), 3u << 20);
}

} // namespace
