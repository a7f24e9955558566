// The index reader on every layout the format allows, built byte by byte.

#include "TinyMovie.h"
#include "media/quicktime/ReadIndex.h"

#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;
using quicktime_test::TinyMovieOptions;

SourceIndex readTiny(const TinyMovieOptions& options, std::uint64_t* dataOffset = nullptr) {
    const auto file = quicktime_test::tinyMovie(options, dataOffset);
    auto index = readIndex(file);
    if (!index) {
        ADD_FAILURE() << index.error().message;
        return {};
    }
    return *index;
}

// Sample i is `sampleSize` bytes at dataOffset + i * sampleSize.
void expectPlainSamples(const SourceIndex& index, const TinyMovieOptions& options, std::uint64_t dataOffset) {
    ASSERT_EQ(index.tracks.size(), 1u);
    const SampleList& samples = index.tracks[0].samples;
    ASSERT_EQ(samples.count(), options.samples);
    for (std::size_t i = 0; i < samples.count(); ++i) {
        EXPECT_EQ(samples.offset(i), dataOffset + i * options.sampleSize) << "sample " << i;
        EXPECT_EQ(samples.byteSize(i), options.sampleSize) << "sample " << i;
        EXPECT_EQ(samples.duration(i), options.sampleDuration) << "sample " << i;
    }
}

// Every layout of plain samples reads back the same samples, with the movie
// header before or after the data.
TEST(ReadIndexLayoutTest, EveryLayoutReadsBackItsSamples) {
    const auto layout = [](auto change) {
        TinyMovieOptions options;
        change(options);
        return options;
    };
    const TinyMovieOptions layouts[] = {
        {},
        layout([](TinyMovieOptions& o) { o.wideSizes = o.wideChunkOffsets = true; }),
        layout([](TinyMovieOptions& o) { o.paddingAtoms = true; }),
        layout([](TinyMovieOptions& o) { o.samples = 5, o.sampleSize = 9, o.compactSizeBits = 4; }),
        layout([](TinyMovieOptions& o) { o.samples = 5, o.sampleSize = 9, o.compactSizeBits = 8; }),
        layout([](TinyMovieOptions& o) { o.samples = 5, o.sampleSize = 9, o.compactSizeBits = 16; }),
        layout([](TinyMovieOptions& o) { o.constantSize = true, o.sampleSize = 64; }),
        layout([](TinyMovieOptions& o) { o.samples = 7, o.samplesPerChunk = 3; })};
    for (const TinyMovieOptions& base : layouts) {
        for (bool first : {false, true}) {
            TinyMovieOptions options = base;
            options.moovFirst = first;
            SCOPED_TRACE(testing::Message()
                         << "layout " << (&base - layouts) << (first ? ", header first" : ""));
            std::uint64_t data = 0;
            const SourceIndex index = readTiny(options, &data);
            expectPlainSamples(index, options, data);
            EXPECT_EQ(index.movieTimeScale, 600);
            EXPECT_EQ(index.tracks[0].handler, Handler::Video);
            EXPECT_EQ(index.tracks[0].mediaTimeScale, 1000);
            EXPECT_EQ(index.tracks[0].codec(0), makeFourCC("avc1"));
            EXPECT_EQ(index.majorBrand, makeFourCC("isom"));
            for (std::size_t i = 0; i < index.tracks[0].samples.count(); ++i)
                EXPECT_EQ(index.tracks[0].samples.startsChunk(i), i % options.samplesPerChunk == 0) << i;
        }
    }
}

TEST(ReadIndexLayoutTest, CompositionOffsetsOfBothVersions) {
    TinyMovieOptions options;
    options.compositionOffsets = {200, 0, 100};
    SourceIndex index = readTiny(options);
    ASSERT_EQ(index.tracks.size(), 1u);
    EXPECT_EQ(index.tracks[0].samples.compositionOffset(0), 200);
    EXPECT_EQ(index.tracks[0].samples.compositionOffset(2), 100);

    options.compositionOffsets = {100, -100, 0};
    index = readTiny(options);
    ASSERT_EQ(index.tracks.size(), 1u);
    EXPECT_EQ(index.tracks[0].samples.compositionOffset(1), -100);
}

TEST(ReadIndexLayoutTest, SyncSamplesFromTheTableOrAll) {
    TinyMovieOptions options;
    options.samples = 4;
    SourceIndex index = readTiny(options);
    ASSERT_EQ(index.tracks.size(), 1u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(index.tracks[0].samples.isSync(i)) << "no table: every sample is a sync sample";
    options.syncSamples = {1, 3, 99};
    index = readTiny(options);
    ASSERT_EQ(index.tracks.size(), 1u);
    const SampleList& samples = index.tracks[0].samples;
    EXPECT_TRUE(samples.isSync(0));
    EXPECT_FALSE(samples.isSync(1));
    EXPECT_TRUE(samples.isSync(2));
    EXPECT_FALSE(samples.isSync(3));
}

TEST(ReadIndexLayoutTest, UncompressedSoundIsKeptChunkByChunk) {
    TinyMovieOptions options;
    options.handler = "soun";
    options.codec = "sowt";
    options.samples = 3000; // frames
    options.sampleSize = 4; // bytes a frame: 16-bit stereo
    options.sampleDuration = 1;
    options.constantSize = true;
    options.samplesPerChunk = 1024;
    std::uint64_t data = 0;
    const SourceIndex index = readTiny(options, &data);
    ASSERT_EQ(index.tracks.size(), 1u);
    const TrackIndex& track = index.tracks[0];
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
    TinyMovieOptions options;
    options.samples = 108000; // an hour at 30 frames a second
    options.sampleSize = 8;
    options.samplesPerChunk = 30;
    options.syncSamples = {1, 31, 61};
    const SourceIndex index = readTiny(options);
    ASSERT_EQ(index.tracks.size(), 1u);
    ASSERT_EQ(index.tracks[0].samples.count(), 108000u);
    EXPECT_LT(index.tracks[0].samples.memoryBytes(), 3u << 20);
}

} // namespace
