// Every export component of this build writes a file that another program
// (ffprobe) opens and plays, holding what the format holds: its kinds of
// media, chapters where the container keeps them, and the settings chosen.

#include "media/ExportComponent.h"

#include "Ffprobe.h"
#include "FileContents.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"

#include <QJsonArray>
#include <gtest/gtest.h>
#include <tuple>

namespace {

namespace fs = std::filesystem;

// Two small clips end to end with a chapter each.
std::shared_ptr<media::Movie> joinedClips(media::WriteOptions& options) {
    std::vector<fs::path> clips;
    for (const int frames : {10, 15}) {
        clips.push_back(fixtures::test::sharedClip("small-" + std::to_string(frames) + ".mp4",
                                                   {.width = 96, .height = 72, .frames = frames}));
        options.chapters.push_back({QString::number(frames), media::makeTime(frames, 25)});
    }
    return media_test::joinedMovie(clips);
}

const media::ExportComponent& component(const char* name) {
    for (const media::ExportComponent& component : media::exportComponents())
        if (component.name == name)
            return component;
    throw std::runtime_error(std::string("no export component ") + name);
}

TEST(ExportComponentTest, ComponentsAreFoundByTheirCodes) {
    const auto found =
        media::findExportComponent(media::makeFourCharCode("MooV"), media::kFFmpegManufacturer);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->name, "QuickTime Movie");
    EXPECT_FALSE(media::findExportComponent(media::makeFourCharCode("MooV"), 0).has_value());
    const auto& all = media::exportComponents();
    for (auto a = all.begin(); a != all.end(); ++a) {
        EXPECT_FALSE(a->extension.empty()) << a->name;
        EXPECT_EQ(std::ranges::count(a, all.end(), a->subtype, &media::ExportComponent::subtype), 1)
            << a->name;
    }
}

TEST(ExportComponentTest, EveryComponentWritesAFileThatPlays) {
    const fs::path dir = fixtures::test::scratchFolder("components");
    for (const media::ExportComponent& component : media::exportComponents()) {
        SCOPED_TRACE(component.name);
        media::WriteOptions options;
        auto movie = joinedClips(options);
        options.component = component;
        const fs::path file = dir / ("export." + component.extension);
        const auto written = movie->write(file, options);
        ASSERT_TRUE(written.has_value()) << written.error().message;
        const auto streams = oracle::probeStreams(file);
        const auto count = [&](const char* type) {
            return std::ranges::count(streams, type, &oracle::ProbedStream::codecType);
        };
        EXPECT_EQ(count("video"), component.writesVideo ? 1 : 0);
        EXPECT_EQ(count("audio"), component.writesSound ? 1 : 0);
        EXPECT_NEAR(oracle::playedDuration(file), 1.0, 0.15);
        EXPECT_EQ(oracle::probeChapterList(file).size(), component.hasChapters ? 2u : 0u);
        // Its streams (but the chapter text) decode into frames again.
        for (const QJsonValue& stream :
             oracle::runFfprobeJson({"-count_frames", "-show_entries", "stream=codec_type,nb_read_frames",
                                     "-print_format", "json", file.string()})["streams"]
                 .toArray())
            if (stream["codec_type"].toString() != "data") {
                EXPECT_GT(stream["nb_read_frames"].toString().toInt(), 0);
            }
        EXPECT_TRUE(media::Movie::open(file).has_value()) << "still readable as a movie of ours";
    }
}

TEST(ExportComponentTest, TheSettingsChooseEncodersSizeSoundAndFrameRate) {
    const fs::path dir = fixtures::test::scratchFolder("settings");
    media::WriteOptions options;
    auto movie = joinedClips(options);
    options.component = component("Matroska");
    media::ExportSettings& settings = options.exportSettings;
    settings.videoEncoder = "libvpx-vp9";
    settings.audioEncoder = "libopus";
    settings.width = 64;
    settings.height = 48;
    settings.sampleRate = 48000;
    settings.channels = 1;
    ASSERT_TRUE(movie->write(dir / "set.mkv", options).has_value());
    const auto video = oracle::probeStreams(dir / "set.mkv", "video").at(0);
    const auto audio = oracle::probeStreams(dir / "set.mkv", "audio").at(0);
    EXPECT_EQ(std::tie(video.codecName, video.width, video.height), std::tuple("vp9", 64, 48));
    EXPECT_EQ(std::tie(audio.codecName, audio.channels), std::tuple("opus", 1));
    // A fixed frame rate drops frames to it: 25 frames at 25 fps become 10.
    options.component = component("Animated GIF");
    settings = {};
    settings.frameRateNum = 10;
    settings.frameRateDen = 1;
    ASSERT_TRUE(movie->write(dir / "ten.gif", options).has_value());
    EXPECT_NEAR(static_cast<double>(oracle::probeStreams(dir / "ten.gif", "video").at(0).packets), 10.0, 1.0);
}

// (A format without the kind of media a movie has: ComponentMatrix.)
TEST(ExportComponentTest, AnEncoderTheFormatDoesNotOfferIsRefusedAndNothingIsWritten) {
    const fs::path dir = fixtures::test::scratchFolder("refused");
    media::WriteOptions options;
    auto movie = joinedClips(options);
    options.component = component("MPEG-4");
    options.exportSettings.videoEncoder = "libvpx-vp9"; // not one MPEG-4 offers here
    EXPECT_FALSE(movie->write(dir / "refused.mp4", options).has_value());
    EXPECT_TRUE(testing_support::namesIn(dir).empty());
}

} // namespace
