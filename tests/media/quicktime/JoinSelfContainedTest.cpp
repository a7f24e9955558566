// Joining whole clips into a self-contained movie: every picture of every
// source comes back byte for byte, in order and shown at its join time, as
// ffprobe reads the result; each track needs one edit; chapters land on their
// movies. (Sync with the sound, through two readers: SyncTest.)

#include "Ffprobe.h"
#include "FileContents.h"
#include "JoinChecks.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "TinyMovie.h"
#include "media/quicktime/QuickTimeFileWriter.h"
#include "media/quicktime/ReadIndex.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace {

using namespace media::quicktime;
using fixtures::test::h264AacClip;
using fixtures::test::sharedClip;

std::filesystem::path writeJoin(const std::string& name, const WriteRequest& request) {
    const auto output = fixtures::test::scratchFolder(name) / name;
    const auto written = writeQuickTimeFile(output, request);
    EXPECT_TRUE(written) << written.error().message;
    return output;
}

SourceIndex indexOf(const std::filesystem::path& file) {
    auto index = readIndex(file);
    EXPECT_TRUE(index) << index.error().message;
    return index.value_or(SourceIndex{});
}

struct JoinCase final {
    std::string name;
    std::vector<std::filesystem::path> clips;
    std::function<void(WriteRequest&)> change;     // of the request, before writing
    std::function<void(const SourceIndex&)> check; // of the written file's index
    bool soundIsConcatenated = false; // uncompressed sound has no priming to drop at the join points
};

std::vector<JoinCase> joinCases() {
    const auto mp4 = [](int frames) { return h264AacClip("mp4", frames); };
    // 3GP with AMR-NB: H.263's own size, a second of sound in 50 frames.
    const auto amr = [](int frames) {
        return sharedClip("amr-" + std::to_string(frames) + ".3gp", {.container = "3gp",
                                                                     .videoCodec = "h263",
                                                                     .audioCodec = "amr_nb",
                                                                     .width = 176,
                                                                     .height = 144,
                                                                     .fpsNum = 15,
                                                                     .frames = frames,
                                                                     .sampleRate = 8000,
                                                                     .channels = 1});
    };
    const auto pcm = [](int frames) {
        return sharedClip("pcm-" + std::to_string(frames) + ".mov",
                          {.container = "mov", .audioCodec = "pcm_s16le", .frames = frames});
    };
    return {
        // Identical descriptions (a file played twice) are shared, differing ones (other bit rates) each
        // get an entry.
        {"three.mp4",
         {mp4(25), mp4(30), mp4(25)},
         {},
         [](const SourceIndex& index) {
             EXPECT_EQ(index.majorBrand, makeFourCC("isom"));
             ASSERT_EQ(index.tracks[0].sampleDescriptions.size(), 2u);
             EXPECT_EQ(index.tracks[0].samples.descriptionIndex(25), 1u);
             EXPECT_EQ(index.tracks[0].samples.descriptionIndex(55), 0u);
         }},
        {"two.mov",
         {h264AacClip("mov", 25), h264AacClip("mov", 30)},
         {},
         [](const SourceIndex& index) { EXPECT_EQ(index.majorBrand, makeFourCC("qt  ")); }},
        {"rescaled.mov",
         {mp4(25), mp4(30)},
         [](WriteRequest& request) {
             for (auto& track : request.tracks)
                 if (track.handlerType == makeFourCC("vide"))
                     track.mediaTimeScale = 90000;
         },
         [](const SourceIndex& index) { EXPECT_EQ(index.tracks[0].mediaTimeScale, 90000); }},
        {"pcm.mov",
         {pcm(25), pcm(30)},
         {},
         [](const SourceIndex& index) { EXPECT_TRUE(index.tracks[1].packed.has_value()); },
         true},
        {"amr.mov",
         {amr(15), amr(30)},
         {},
         [](const SourceIndex& index) { EXPECT_EQ(index.tracks[1].codec(0), makeFourCC("samr")); },
         true},
    };
}

class JoinSelfContainedTest : public ::testing::TestWithParam<std::size_t> {};

TEST_P(JoinSelfContainedTest, KeepsEveryPictureAtItsJoinTimeWithOneEditPerTrack) {
    const JoinCase c = joinCases()[GetParam()];
    SCOPED_TRACE(c.name);
    auto request = quicktime_test::joinRequest(c.clips, c.name.ends_with(".mp4") ? OutputKind::Mpeg4
                                                                                 : OutputKind::QuickTime);
    if (c.change)
        c.change(request);
    const auto output = writeJoin(c.name, request);
    quicktime_test::expectJoinedStreams(c.clips, output, "v");
    if (c.soundIsConcatenated)
        quicktime_test::expectJoinedStreams(c.clips, output, "a");
    double total = 0;
    for (const auto& clip : c.clips)
        total += oracle::formatDuration(clip);
    EXPECT_NEAR(oracle::formatDuration(output), total, 0.001);
    const SourceIndex index = indexOf(output);
    for (const TrackIndex& track : index.tracks)
        EXPECT_EQ(track.editList.size(), 1u) << "a join point is never an edit";
    c.check(index);
    // Each source is copied once, as one span: the file is its sources' sample bytes and a header.
    std::uint64_t sources = 0;
    for (const auto& clip : std::set(c.clips.begin(), c.clips.end()))
        sources += std::filesystem::file_size(clip);
    EXPECT_LT(std::filesystem::file_size(output), sources + 8192);
}

INSTANTIATE_TEST_SUITE_P(Joins, JoinSelfContainedTest, ::testing::Range<std::size_t>(0, 5));

TEST(JoinChaptersTest, StartWhereTheirMoviesStartAndEndWithTheMovie) {
    const std::vector<std::filesystem::path> clips{h264AacClip("mp4", 25), h264AacClip("mp4", 30),
                                                   h264AacClip("mp4", 20)};
    auto request = quicktime_test::joinRequest(clips, OutputKind::Mpeg4);
    const auto durations = quicktime_test::joinedDurations(request);
    ASSERT_EQ(durations.size(), 3u);
    // Rounded shorter than the movie: the last chapter still ends with it.
    request.chapters = {
        {"Première", durations[0]}, {"Second \"clip\"", durations[1]}, {"Third", durations[2] - 5}};
    const auto output = writeJoin("chapters.mp4", request);
    const auto chapters = oracle::probeChapterList(output);
    ASSERT_EQ(chapters.size(), 3u);
    std::int64_t start = 0;
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        EXPECT_EQ(chapters[i].title, request.chapters[i].title);
        EXPECT_EQ(chapters[i].startUnits, start) << "chapter " << i;
        start += request.chapters[i].duration;
    }
    for (const auto& stream : oracle::probeStreams(output))
        EXPECT_NEAR(stream.duration, oracle::formatDuration(output), 0.025) << stream.codecType;
}

// Chapters need a video track to hang on: without one, no chapter track is written.
TEST(JoinSelfContainedTest, NoVideoTrackMeansNoChapterTrack) {
    const auto sound = sharedClip("sound-only.mp4", {.videoCodec = ""});
    auto soundOnly = quicktime_test::joinRequest({sound, sound}, OutputKind::Mpeg4);
    soundOnly.chapters = {{"One", 600}, {"Two", 600}};
    const SourceIndex index = indexOf(writeJoin("sound.mp4", soundOnly));
    ASSERT_EQ(index.tracks.size(), 1u);
    EXPECT_EQ(index.tracks[0].handler, Handler::Sound);
}

TEST(JoinSelfContainedTest, ConstantSizeSamplesShownThriceReadBack) {
    // Samples that share their bytes may list more sample bytes than the file holds.
    const auto folder = fixtures::test::scratchFolder("constant-size");
    const auto bytes = quicktime_test::tinyMovie({.sampleSize = 200, .constantSize = true});
    const auto source =
        testing_support::writeFile(folder / "constant.mp4", std::string(bytes.begin(), bytes.end()));
    const auto output = folder / "thrice.mp4";
    ASSERT_TRUE(
        writeQuickTimeFile(output, quicktime_test::joinRequest({source, source, source}, OutputKind::Mpeg4))
            .has_value());
    const SourceIndex index = indexOf(output);
    ASSERT_EQ(index.tracks.size(), 1u);
    EXPECT_EQ(index.tracks[0].samples.count(), 9u);
    EXPECT_GT(9u * 200u, std::filesystem::file_size(output));
}

} // namespace
