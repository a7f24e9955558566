// The index reader against ffprobe: the same samples, in the same places, on
// fixture clips of both kinds.

#include "media/quicktime/ReadIndex.h"

#include "JoinChecks.h"
#include "SharedClips.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using namespace media::quicktime;

void expectSamplesMatch(const TrackIndex& track, const std::vector<quicktime_test::ProbedPacket>& packets) {
    ASSERT_EQ(track.samples.count(), packets.size());
    for (std::size_t i = 0; i < packets.size(); ++i) {
        ASSERT_EQ(track.samples.offset(i), static_cast<std::uint64_t>(packets[i].position)) << "sample " << i;
        ASSERT_EQ(track.samples.byteSize(i), static_cast<std::uint32_t>(packets[i].size)) << "sample " << i;
        ASSERT_EQ(track.samples.isSync(i), packets[i].key) << "sample " << i;
    }
}

class FixtureIndexTest : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureIndexTest, SamplesMatchFfprobesPackets) {
    const auto clip = fixtures::test::h264AacClip(GetParam(), 25);
    auto index = readIndex(clip);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    EXPECT_EQ(index->fileSize, std::filesystem::file_size(clip));
    EXPECT_EQ(index->majorBrand, GetParam() == "mov" ? makeFourCC("qt  ") : makeFourCC("isom"));
    ASSERT_EQ(index->tracks.size(), 2u);
    const TrackIndex &video = index->tracks[0], &sound = index->tracks[1];
    ASSERT_EQ(video.handler, Handler::Video);
    ASSERT_EQ(sound.handler, Handler::Sound);
    EXPECT_EQ(video.codec(0), makeFourCC("avc1"));
    EXPECT_EQ(sound.codec(0), makeFourCC("mp4a"));
    EXPECT_EQ(std::tie(video.width, video.height), std::tuple(160u << 16, 120u << 16));
    EXPECT_EQ(sound.mediaTimeScale, 44100);
    EXPECT_EQ(video.samples.totalDuration(), static_cast<std::int64_t>(video.mediaDuration));
    ASSERT_FALSE(sound.editList.empty());
    EXPECT_GT(sound.editList.front().mediaTime, 0) << "AAC priming is skipped by the edit list";
    expectSamplesMatch(video, quicktime_test::probePackets(clip, "v"));
    expectSamplesMatch(sound, quicktime_test::probePackets(clip, "a"));
}

INSTANTIATE_TEST_SUITE_P(BothKinds, FixtureIndexTest, ::testing::Values("mp4", "mov"));

} // namespace
