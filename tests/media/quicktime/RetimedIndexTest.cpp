// Retiming a source's sample index: frames keep their bytes, their times
// stretch without drift, sound is left to be stretched elsewhere.

#include "media/quicktime/RetimedIndex.h"

#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;

// A video track of `frames` samples of `duration` units at `scale`, each
// shown one frame late (B-frame reordering), with one edit skipping that delay.
TrackIndex videoTrack(std::size_t frames, std::uint32_t duration, std::int32_t scale) {
    TrackIndex track;
    track.handlerType = makeFourCC("vide");
    track.handler = Handler::Video;
    track.mediaTimeScale = scale;
    SampleList::Columns columns;
    for (std::size_t i = 0; i < frames; ++i) {
        columns.offsets.push_back(1000 + 100 * i);
        columns.sizes.push_back(100);
        columns.durations.push_back(duration);
        columns.compositionOffsets.push_back(static_cast<std::int32_t>(duration));
        columns.flags.push_back(i == 0 ? SampleList::kSync | SampleList::kChunkStart : 0);
    }
    track.samples = SampleList(std::move(columns));
    track.mediaDuration = frames * duration;
    track.duration = frames * duration * 600 / static_cast<std::uint64_t>(scale);
    track.editList = {EditListEntry{static_cast<std::int64_t>(track.duration), duration, 0x10000}};
    return track;
}

SourceIndex indexWith(std::vector<TrackIndex> tracks) {
    SourceIndex index;
    index.movieTimeScale = 600;
    index.movieDuration = tracks.front().duration;
    index.tracks = std::move(tracks);
    return index;
}

TEST(RetimedIndexTest, StretchesFramesAndEditsKeepingTheirBytes) {
    const SourceIndex index = indexWith({videoTrack(25, 512, 12800)}); // 1 s at 25 fps
    auto retimed = retimedIndex(index, 3, 2);
    ASSERT_TRUE(retimed.has_value()) << retimed.error().message;
    const TrackIndex& track = retimed->tracks[0];
    ASSERT_EQ(track.samples.count(), 25u);
    EXPECT_EQ(track.mediaTimeScale, 12800);
    for (std::size_t i = 0; i < 25; ++i) {
        EXPECT_EQ(track.samples.duration(i), 768u);
        EXPECT_EQ(track.samples.compositionOffset(i), 768);
        EXPECT_EQ(track.samples.offset(i), index.tracks[0].samples.offset(i));
        EXPECT_EQ(track.samples.isSync(i), i == 0);
    }
    EXPECT_EQ(track.mediaDuration, 25u * 768);
    EXPECT_EQ(retimed->movieDuration, 900u);
    ASSERT_EQ(track.editList.size(), 1u);
    EXPECT_EQ(track.editList[0].duration, 900);
    EXPECT_EQ(track.editList[0].mediaTime, 768);
}

TEST(RetimedIndexTest, ShrinkingRoundsTheRunningTimeNotEachFrame) {
    const SourceIndex index = indexWith({videoTrack(30, 1001, 30000)}); // 29.97 fps
    auto retimed = retimedIndex(index, 1, 3);
    ASSERT_TRUE(retimed.has_value());
    const SampleList& samples = retimed->tracks[0].samples;
    // 1001 / 3 is 333.67: frames get 334 or 333 and the total stays exact.
    EXPECT_EQ(samples.totalDuration(), 10010);
    for (std::size_t i = 0; i < samples.count(); ++i) {
        EXPECT_GE(samples.duration(i), 333u);
        EXPECT_LE(samples.duration(i), 334u);
        EXPECT_EQ(samples.decodeTime(i), (static_cast<std::int64_t>(i) * 1001 * 2 + 3) / 6);
    }
}

TEST(RetimedIndexTest, AFactorThatWouldEraseFramesMakesTheScaleFiner) {
    const SourceIndex index = indexWith({videoTrack(10, 20, 600)}); // 30 fps at 600
    auto retimed = retimedIndex(index, 1, 50);
    ASSERT_TRUE(retimed.has_value());
    const TrackIndex& track = retimed->tracks[0];
    EXPECT_EQ(track.mediaTimeScale % 600, 0);
    EXPECT_GT(track.mediaTimeScale, 600);
    for (std::size_t i = 0; i < track.samples.count(); ++i)
        EXPECT_GE(track.samples.duration(i), 4u) << "frame " << i << " keeps a duration";
    // The track still lasts a fiftieth of its length, in seconds.
    EXPECT_EQ(static_cast<std::int64_t>(track.mediaDuration) * 600 * 50,
              static_cast<std::int64_t>(index.tracks[0].mediaDuration) * track.mediaTimeScale);
}

TEST(RetimedIndexTest, LeavesSoundAloneAndRefusesBadFactors) {
    TrackIndex sound = videoTrack(4, 1024, 44100);
    sound.handlerType = makeFourCC("soun");
    sound.handler = Handler::Sound;
    const SourceIndex index = indexWith({videoTrack(5, 512, 12800), sound});
    auto retimed = retimedIndex(index, 2, 1);
    ASSERT_TRUE(retimed.has_value());
    EXPECT_EQ(retimed->tracks[1].samples.duration(0), 1024u);
    EXPECT_EQ(retimed->tracks[1].editList[0].duration, index.tracks[1].editList[0].duration);
    EXPECT_EQ(retimed->tracks[0].samples.duration(0), 1024u);
    EXPECT_FALSE(retimedIndex(index, 0, 1).has_value());
    EXPECT_FALSE(retimedIndex(index, 1, -2).has_value());
    // Durations beyond 32 bits do not fit a sample table.
    auto huge = retimedIndex(index, 1'000'000'000, 1);
    ASSERT_FALSE(huge.has_value());
    EXPECT_EQ(huge.error().code, EOVERFLOW);
}

} // namespace
