// Joining whole clips into a self-contained movie: every sample of every
// source comes back byte for byte and in order, and what players show starts
// at each join point, as ffprobe, GStreamer and MediaInfo read the result.

#include "Ffprobe.h"
#include "JoinRequest.h"
#include "OtherReaders.h"
#include "PacketComparison.h"
#include "TestClips.h"
#include "TinyMovie.h"
#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/SegmentPlanning.h"
#include "media/quicktime/WriteMovie.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;
using quicktime_test::h264AacClip;

std::filesystem::path writeJoin(const std::string& name, const WriteRequest& request) {
    const auto output = quicktime_test::scratchFolder(name) / name;
    auto written = writeMovie(output, request);
    if (!written)
        ADD_FAILURE() << written.error().message;
    return output;
}

double sumOfDurations(const std::vector<std::filesystem::path>& files) {
    double total = 0;
    for (const auto& file : files)
        total += oracle::formatDuration(file);
    return total;
}

TEST(JoinSelfContainedTest, ThreeMp4ClipsKeepEveryPacketInOrder) {
    const std::vector<std::filesystem::path> clips{h264AacClip("mp4", 25), h264AacClip("mp4", 30),
                                                   h264AacClip("mp4", 20)};
    const auto output = writeJoin("three.mp4", quicktime_test::joinRequest(clips, OutputKind::Mpeg4));
    ASSERT_TRUE(std::filesystem::exists(output));

    quicktime_test::expectJoinedStreams(clips, output, "v");
    quicktime_test::expectJoinedStreams(clips, output, "a");
    EXPECT_NEAR(oracle::formatDuration(output), sumOfDurations(clips), 0.001);

    auto index = readIndex(output);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    EXPECT_EQ(index->majorBrand, makeFourCC("isom"));
    // Each source is copied as one span: the file is its sources' sample bytes and a header.
    std::uint64_t sources = 0;
    for (const auto& clip : clips)
        sources += std::filesystem::file_size(clip);
    EXPECT_LT(std::filesystem::file_size(output), sources);
}

TEST(JoinSelfContainedTest, MovClipsMakeAQuickTimeMovie) {
    const std::vector<std::filesystem::path> clips{h264AacClip("mov", 25), h264AacClip("mov", 30)};
    const auto output = writeJoin("two.mov", quicktime_test::joinRequest(clips, OutputKind::QuickTime));
    auto index = readIndex(output);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    EXPECT_EQ(index->majorBrand, makeFourCC("qt  "));
    quicktime_test::expectJoinedStreams(clips, output, "v");
    quicktime_test::expectJoinedStreams(clips, output, "a");
    EXPECT_NEAR(oracle::formatDuration(output), sumOfDurations(clips), 0.001);
}

TEST(JoinSelfContainedTest, OtherReadersReadTheJoin) {
    const std::vector<std::filesystem::path> clips{h264AacClip("mp4", 25), h264AacClip("mp4", 30)};
    auto request = quicktime_test::joinRequest(clips, OutputKind::Mpeg4);
    request.chapters = {{"First", 600}, {"Second", 720}};
    const auto output = writeJoin("readers.mp4", request);

    const auto discovered = quicktime_test::runTool("gst-discoverer-1.0", {output.string()});
    if (!discovered)
        GTEST_SKIP() << "gst-discoverer-1.0 is not installed (scripts/setup installs it)";
    EXPECT_EQ(discovered->exitCode, 0) << discovered->output;
    EXPECT_NE(discovered->output.find("H.264"), std::string::npos) << discovered->output;
    EXPECT_NE(discovered->output.find("AAC"), std::string::npos) << discovered->output;
    EXPECT_NE(discovered->output.find("Duration: 0:00:02.2"), std::string::npos) << discovered->output;

    EXPECT_EQ(quicktime_test::mediainfoTrackCount(output, "Video"), 1);
    EXPECT_EQ(quicktime_test::mediainfoTrackCount(output, "Audio"), 1);
    EXPECT_EQ(quicktime_test::mediainfoTrackCount(output, "Menu"), 1) << "the chapters";
}

TEST(JoinSelfContainedTest, SameSourceTwiceIsCopiedOnce) {
    const auto clip = h264AacClip("mp4", 25);
    auto request = quicktime_test::joinRequest({clip}, OutputKind::Mpeg4);
    ASSERT_TRUE(appendWholeSource(request, 0).has_value());
    const auto output = writeJoin("twice.mp4", request);
    EXPECT_LT(std::filesystem::file_size(output), std::filesystem::file_size(clip) * 3 / 2);
    auto index = readIndex(output);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    for (const auto& track : index->tracks)
        EXPECT_EQ(track.sampleDescriptions.size(), 1u) << "identical descriptions are shared";
    quicktime_test::expectJoinedStreams({clip, clip}, output, "v");
    quicktime_test::expectJoinedStreams({clip, clip}, output, "a");
}

TEST(JoinSelfContainedTest, DifferingDescriptionsEachGetAnEntry) {
    // Clips of different lengths carry different bit rates in their descriptions.
    const auto a = h264AacClip("mp4", 25);
    const auto b = h264AacClip("mp4", 30);
    auto indexA = readIndex(a);
    auto indexB = readIndex(b);
    ASSERT_TRUE(indexA && indexB);
    ASSERT_NE(indexA->tracks[0].sampleDescriptions[0], indexB->tracks[0].sampleDescriptions[0]);
    const auto output =
        writeJoin("descriptions.mp4", quicktime_test::joinRequest({a, b, a}, OutputKind::Mpeg4));
    auto joined = readIndex(output);
    ASSERT_TRUE(joined.has_value()) << joined.error().message;
    const TrackIndex& video = joined->tracks[0];
    ASSERT_EQ(video.sampleDescriptions.size(), 2u);
    EXPECT_EQ(video.samples.descriptionIndex(0), 0u);
    EXPECT_EQ(video.samples.descriptionIndex(25), 1u);
    EXPECT_EQ(video.samples.descriptionIndex(55), 0u);
    quicktime_test::expectJoinedStreams({a, b, a}, output, "v");
}

TEST(JoinSelfContainedTest, AnotherMediaTimeScaleKeepsTheTimes) {
    const std::vector<std::filesystem::path> clips{h264AacClip("mp4", 25), h264AacClip("mp4", 30)};
    auto request = quicktime_test::joinRequest(clips, OutputKind::QuickTime);
    for (auto& track : request.tracks)
        if (track.handlerType == makeFourCC("vide"))
            track.mediaTimeScale = 90000;
    const auto output = writeJoin("rescaled.mov", request);
    quicktime_test::expectJoinedStreams(clips, output, "v");
    auto index = readIndex(output);
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(index->tracks[0].mediaTimeScale, 90000);
}

TEST(JoinSelfContainedTest, ChaptersStartAtTheSumsOfTheDurations) {
    const std::vector<std::filesystem::path> clips{h264AacClip("mp4", 25), h264AacClip("mp4", 30),
                                                   h264AacClip("mp4", 20)};
    auto request = quicktime_test::joinRequest(clips, OutputKind::Mpeg4);
    const auto durations = quicktime_test::joinedDurations(request);
    ASSERT_EQ(durations.size(), 3u);
    request.chapters = {
        {"Première", durations[0]}, {"Second \"clip\"", durations[1]}, {"Third", durations[2]}};
    const auto output = writeJoin("chapters.mp4", request);

    const auto chapters = quicktime_test::probeChapters(output);
    ASSERT_EQ(chapters.size(), 3u);
    std::int64_t start = 0;
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        EXPECT_EQ(chapters[i].title, request.chapters[i].title);
        EXPECT_EQ(chapters[i].timeBase, "1/600");
        EXPECT_EQ(chapters[i].startUnits, start) << "chapter " << i;
        start += request.chapters[i].duration;
    }
    // The chapter track does not disturb the other streams.
    quicktime_test::expectJoinedStreams(clips, output, "v");
}

TEST(JoinSelfContainedTest, AChapterWithoutTitleKeepsItsPlace) {
    const std::vector<std::filesystem::path> clips{h264AacClip("mov", 25), h264AacClip("mov", 30)};
    auto request = quicktime_test::joinRequest(clips, OutputKind::QuickTime);
    request.chapters = {{"One", 300}, {"", 300}, {"Three", 720}};
    const auto output = writeJoin("untitled.mov", request);
    const auto chapters = quicktime_test::probeChapters(output);
    ASSERT_EQ(chapters.size(), 3u);
    EXPECT_EQ(chapters[1].title, "");
    EXPECT_EQ(chapters[1].startUnits, 300);
    EXPECT_EQ(chapters[2].title, "Three");
    EXPECT_EQ(chapters[2].startUnits, 600);
}

TEST(JoinSelfContainedTest, NoVideoTrackMeansNoChapterTrack) {
    fixtures::ClipSpec clipSpec;
    clipSpec.videoCodec = "";
    const auto sound = quicktime_test::sharedClip("sound-only.mp4", clipSpec);
    auto request = quicktime_test::joinRequest({sound, sound}, OutputKind::Mpeg4);
    request.chapters = {{"One", 600}, {"Two", 600}};
    const auto output = writeJoin("sound.mp4", request);
    auto index = readIndex(output);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    ASSERT_EQ(index->tracks.size(), 1u);
    EXPECT_EQ(index->tracks[0].handler, Handler::Sound);
    EXPECT_TRUE(quicktime_test::probeChapters(output).empty());
    quicktime_test::expectJoinedStreams({sound, sound}, output, "a");
}

} // namespace

namespace {

TEST(JoinSelfContainedTest, UncompressedSoundIsCopiedChunkByChunk) {
    fixtures::ClipSpec clipSpec;
    clipSpec.container = "mov";
    clipSpec.audioCodec = "pcm_s16le";
    const auto a = quicktime_test::sharedClip("pcm-25.mov", clipSpec);
    clipSpec.frames = 30;
    const auto b = quicktime_test::sharedClip("pcm-30.mov", clipSpec);
    auto index = readIndex(a);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    ASSERT_TRUE(index->tracks[1].packed.has_value()) << "the fixture stores its sound frame by frame";
    const auto output = writeJoin("pcm.mov", quicktime_test::joinRequest({a, b}, OutputKind::QuickTime));
    quicktime_test::expectJoinedStreams({a, b}, output, "a");
    quicktime_test::expectJoinedStreams({a, b}, output, "v");
}

} // namespace

namespace {

TEST(JoinSelfContainedTest, ConstantSizeSamplesShownThriceReadBack) {
    // Samples that share their bytes may list more sample bytes than the file holds.
    quicktime_test::TinyMovieOptions options;
    options.constantSize = true;
    options.sampleSize = 200;
    const auto folder = quicktime_test::scratchFolder("constant-size");
    const auto source = folder / "constant.mp4";
    const auto bytes = quicktime_test::tinyMovie(options);
    std::ofstream(source, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    auto request = quicktime_test::joinRequest({source}, OutputKind::Mpeg4);
    ASSERT_TRUE(appendWholeSource(request, 0).has_value());
    ASSERT_TRUE(appendWholeSource(request, 0).has_value());
    const auto output = folder / "thrice.mp4";
    ASSERT_TRUE(writeMovie(output, request).has_value());
    auto index = readIndex(output);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    ASSERT_EQ(index->tracks.size(), 1u);
    EXPECT_EQ(index->tracks[0].samples.count(), 9u);
    EXPECT_GT(9u * 200u, std::filesystem::file_size(output));
}

} // namespace

namespace {

TEST(JoinSelfContainedTest, ScaledSegmentsCarryTheirMediaRate) {
    // Stretching a segment over twice its media's length plays the media at half speed.
    const auto clip = h264AacClip("mov", 25);
    auto request = quicktime_test::joinRequest({clip}, OutputKind::QuickTime);
    for (auto& track : request.tracks)
        for (auto& segment : track.segments)
            segment.duration *= 2;
    const auto output = writeJoin("scaled.mov", request);
    auto index = readIndex(output);
    ASSERT_TRUE(index.has_value()) << index.error().message;
    EXPECT_EQ(index->movieDuration, 1200u);
    for (const auto& track : index->tracks) {
        ASSERT_EQ(track.editList.size(), 1u);
        EXPECT_EQ(track.editList[0].duration, 1200);
        EXPECT_EQ(track.editList[0].mediaRate, 0x8000);
    }
}

} // namespace
