// QuickTime and MPEG-4 files are opened by our own reader: each stream it
// describes must be what FFmpeg's reader makes of the same file (codec, time
// scale, place in time, display size, turn, frame count), so that a movie
// opens alike whichever reads it. Files it leaves to FFmpeg still open.

#include "SharedClips.h"

#include "media/Movie.h"
#include "media/detail/SourceFile.h"

#include <gtest/gtest.h>

namespace {

using fixtures::ClipRecipe;
using media::SourceFile;

std::string describe(const media::TimeRange& range) {
    return std::to_string(range.start.value) + "/" + std::to_string(range.start.scale) + " + " +
           std::to_string(range.duration.value) + "/" + std::to_string(range.duration.scale);
}

void expectSameStreams(const std::filesystem::path& file) {
    SCOPED_TRACE(file.filename().string());
    auto ours = SourceFile::open(file, SourceFile::Depth::Parameters);
    auto ffmpeg = SourceFile::open(file, SourceFile::Depth::StreamInfo);
    ASSERT_TRUE(ours && ffmpeg);
    ASSERT_TRUE((*ours)->isDescribed()) << "left to FFmpeg";
    ASSERT_FALSE((*ffmpeg)->isDescribed());
    SourceFile& a = **ours;
    SourceFile& b = **ffmpeg;
    ASSERT_EQ(a.streamCount(), b.streamCount());
    for (int i = 0; i < a.streamCount(); ++i) {
        SCOPED_TRACE("stream " + std::to_string(i));
        ASSERT_EQ(a.isUsableStream(i), b.isUsableStream(i));
        if (!a.isUsableStream(i))
            continue;
        EXPECT_EQ(a.mediaType(i), b.mediaType(i));
        EXPECT_EQ(a.codecName(i), b.codecName(i));
        EXPECT_EQ(a.streamTimeScale(i), b.streamTimeScale(i));
        EXPECT_EQ(describe(a.streamRange(i)), describe(b.streamRange(i)));
        EXPECT_EQ(a.displaySize(i), b.displaySize(i));
        EXPECT_EQ(a.clockwiseRotation(i), b.clockwiseRotation(i));
        if (a.mediaType(i) == media::MediaType::Video) {
            EXPECT_EQ(a.sampleCount(i, std::nullopt), b.sampleCount(i, std::nullopt));
            // The frames shown in the stream's first half.
            media::TimeRange half = a.streamRange(i);
            half.duration.value /= 2;
            const std::int64_t shown = a.sampleCount(i, half);
            EXPECT_GE(shown, b.sampleCount(i, std::nullopt) / 2 - 1);
            EXPECT_LE(shown, b.sampleCount(i, std::nullopt) / 2 + 1);
        }
    }
}

TEST(DescribedStreamsTest, EveryQuickTimeKindIsDescribedAsFFmpegReadsIt) {
    const auto& set = fixtures::test::standardSet();
    for (const auto& file : {set.h264AacMp4, set.h264AacMov, set.otherMp4, set.rotated90Mp4, set.nonSquareMp4,
                             set.videoOnlyMp4})
        expectSameStreams(file);
    using fixtures::test::sharedClip;
    expectSameStreams(sharedClip("described-amr.3gp", ClipRecipe{.container = "3gp", .videoCodec = "mpeg4",
                                                                 .audioCodec = "amr_nb", .sampleRate = 8000,
                                                                 .channels = 1}));
    expectSameStreams(sharedClip("described-pcm.mov", ClipRecipe{.container = "mov", .audioCodec = "pcm_s16le"}));
    expectSameStreams(sharedClip("described-mpeg4-alac.mov",
                                 ClipRecipe{.container = "mov", .videoCodec = "mpeg4", .audioCodec = "alac"}));
    expectSameStreams(sharedClip("described-vfr.mp4", ClipRecipe{.variableFrameRate = true}));
    expectSameStreams(sharedClip("described-long-sound.mov",
                                 ClipRecipe{.container = "mov", .extraSoundSeconds = 0.5}));
}

TEST(DescribedStreamsTest, WhatOurReaderLeavesToFFmpegStillOpens) {
    // Chapters, and files that are no QuickTime movie at all.
    const auto dir = fixtures::test::scratchFolder("described-chapters");
    auto movie = media::Movie::open(fixtures::test::standardSet().h264AacMp4);
    ASSERT_TRUE(movie);
    media::WriteOptions options;
    options.chapters = {{"One", media::makeTime(1, 2)}, {"Two", media::makeTime(1, 2)}};
    ASSERT_TRUE((*movie)->write(dir / "chapters.mov", options));
    auto chaptered = SourceFile::open(dir / "chapters.mov", SourceFile::Depth::Parameters);
    ASSERT_TRUE(chaptered);
    EXPECT_FALSE((*chaptered)->isDescribed());
    auto reopened = media::Movie::open(dir / "chapters.mov");
    ASSERT_TRUE(reopened);
    EXPECT_EQ((*reopened)->chapters().size(), 2u);

    auto matroska = SourceFile::open(fixtures::test::standardSet().h264AacMkv, SourceFile::Depth::Parameters);
    ASSERT_TRUE(matroska);
    EXPECT_FALSE((*matroska)->isDescribed());
    EXPECT_EQ((*matroska)->codecName(0), "h264");
}

} // namespace
