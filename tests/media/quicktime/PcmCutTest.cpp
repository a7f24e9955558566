// Uncompressed sound is cut at the very frame a segment starts and ends,
// inside a chunk or not (the splitter cuts anywhere): the written sound
// decodes, in ffmpeg, to exactly the source frames the segments name, in a
// self-contained movie and in one that refers to its source.

#include "RunProgram.h"
#include "SharedClips.h"
#include "media/quicktime/QuickTimeFileWriter.h"
#include "media/quicktime/ReadIndex.h"
#include "media/quicktime/SourceSegments.h"

#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;

constexpr int kSampleRate = 44100;
constexpr int kBytesPerFrame = 4; // 16-bit stereo

QByteArray decodedSound(const std::filesystem::path& file) {
    return oracle::runProgram("ffmpeg",
                              {"-nostdin", "-v", "error", "-enable_drefs", "1", "-use_absolute_path", "1",
                               "-i", QString::fromStdString(file.string()), "-map", "0:a:0", "-f", "s16le",
                               "-ac", "2", "-"})
        .out;
}

class PcmCutTest : public ::testing::TestWithParam<DataPlacement> {};

TEST_P(PcmCutTest, SegmentsPlayFromAndToAnyFrame) {
    const auto clip = fixtures::test::sharedClip(
        "pcm-25.mov",
        {.container = "mov", .audioCodec = "pcm_s16le", .frames = 25, .sampleRate = kSampleRate});
    auto read = readIndex(clip);
    ASSERT_TRUE(read.has_value()) << read.error().message;
    const auto index = std::make_shared<const SourceIndex>(std::move(*read));
    std::uint32_t sound = 0;
    while (sound < index->tracks.size() && index->tracks[sound].handler != Handler::Sound)
        ++sound;
    ASSERT_LT(sound, index->tracks.size());
    const TrackIndex& track = index->tracks[sound];
    ASSERT_TRUE(track.packed.has_value());
    ASSERT_GT(track.samples.count(), 4u) << "the source's sound must lie in several chunks";

    WriteRequest request;
    request.sources.push_back({clip, index});
    request.movieTimeScale = kSampleRate;
    request.placement = GetParam();
    OutputTrack output = outputTrackLike(track);
    // Frames [start, start + length) of the source, twice out of order, none at a chunk boundary.
    const std::vector<std::pair<std::int64_t, std::int64_t>> ranges{{20333, 7001}, {1001, 5000}, {9999, 3}};
    for (const auto& [start, length] : ranges) {
        const auto samples = samplesForMediaRange(track, start, length);
        ASSERT_TRUE(samples.has_value());
        Segment segment;
        segment.source = 0;
        segment.track = sound;
        segment.firstSample = samples->first;
        segment.sampleCount = samples->count;
        segment.mediaStart = start;
        segment.mediaDuration = length;
        segment.duration = length;
        output.segments.push_back(segment);
    }
    request.tracks.push_back(output);
    const auto written = fixtures::test::scratchFolder("pcm-cut") / "cut.mov";
    const auto done = writeQuickTimeFile(written, request);
    ASSERT_TRUE(done.has_value()) << done.error().message;

    const QByteArray source = decodedSound(clip);
    QByteArray expected;
    for (const auto& [start, length] : ranges)
        expected += source.mid(start * kBytesPerFrame, length * kBytesPerFrame);
    const QByteArray joined = decodedSound(written);
    ASSERT_EQ(joined.size(), expected.size());
    EXPECT_TRUE(joined == expected) << "the sound differs from the frames the segments name";
}

INSTANTIATE_TEST_SUITE_P(Placements, PcmCutTest,
                         ::testing::Values(DataPlacement::SelfContained, DataPlacement::Referring),
                         [](const auto& info) {
                             return info.param == DataPlacement::SelfContained ? "SelfContained"
                                                                               : "Referring";
                         });

} // namespace
