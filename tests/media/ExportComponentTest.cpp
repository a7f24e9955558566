// Every export component of this build writes a file that another program
// (ffprobe) opens and plays, holding what the format holds: its kinds of
// media, chapters where the container keeps them, and the settings chosen.

#include "media/ExportComponent.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "media/Movie.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class ExportComponentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fixtures::quietFfmpegLogs();
        s_dir = new QTemporaryDir();
        fixtures::ClipRecipe recipe;
        recipe.frames = 10;
        recipe.width = 96;
        recipe.height = 72;
        const fs::path dir = s_dir->path().toStdString();
        s_first = new fs::path(fixtures::makeClip(dir, "first.mp4", recipe));
        recipe.frames = 15;
        s_second = new fs::path(fixtures::makeClip(dir, "second.mp4", recipe));
    }
    static void TearDownTestSuite() {
        delete s_first;
        delete s_second;
        delete s_dir;
    }

    fs::path dir() const { return m_dir.path().toStdString(); }

    // The two clips end to end with a chapter each.
    static std::shared_ptr<media::Movie> joinedClips(media::WriteOptions& options) {
        auto joined = media::Movie::makeEmpty();
        joined->setEditable(true);
        for (const fs::path* clip : {s_first, s_second}) {
            auto movie = *media::Movie::open(*clip);
            options.chapters.push_back({QString::fromStdString(clip->stem().string()), movie->duration()});
            EXPECT_TRUE(joined->insertSegment(
                *movie, media::makeTimeRange(media::zeroTime(), movie->duration()), joined->duration()));
        }
        return joined;
    }

    static int streamsOfType(const QJsonObject& probed, const QString& type) {
        int count = 0;
        for (const QJsonValue& stream : probed["streams"].toArray())
            count += stream.toObject()["codec_type"].toString() == type ? 1 : 0;
        return count;
    }

    static QJsonObject firstStream(const QJsonObject& probed, const QString& type) {
        for (const QJsonValue& stream : probed["streams"].toArray())
            if (stream.toObject()["codec_type"].toString() == type)
                return stream.toObject();
        return {};
    }

    static int chapterCount(const fs::path& file) {
        return static_cast<int>(
            QJsonDocument::fromJson(QByteArray::fromStdString(oracle::runFfprobe(
                                        {"-show_chapters", "-print_format", "json", file.string()})))
                .object()["chapters"]
                .toArray()
                .size());
    }

    static QJsonArray decodedFrameCounts(const fs::path& file) {
        return QJsonDocument::fromJson(
                   QByteArray::fromStdString(oracle::runFfprobe({"-count_frames", "-show_entries",
                                                                 "stream=codec_type,nb_read_frames",
                                                                 "-print_format", "json", file.string()})))
            .object()["streams"]
            .toArray();
    }

    static const media::ExportComponent& component(const char* name) {
        for (const media::ExportComponent& component : media::exportComponents())
            if (component.name == name)
                return component;
        throw std::runtime_error(std::string("no export component ") + name);
    }

    static QTemporaryDir* s_dir;
    static fs::path* s_first;
    static fs::path* s_second;
    QTemporaryDir m_dir;
};

QTemporaryDir* ExportComponentTest::s_dir = nullptr;
fs::path* ExportComponentTest::s_first = nullptr;
fs::path* ExportComponentTest::s_second = nullptr;

TEST_F(ExportComponentTest, TheUsualFormatsAreThereWithDistinctCodes) {
    const auto& components = media::exportComponents();
    for (const char* name : {"QuickTime Movie", "MPEG-4", "Matroska", "WebM", "Wave", "AIFF"})
        EXPECT_NO_THROW(component(name)) << name;
    for (std::size_t i = 0; i < components.size(); ++i) {
        EXPECT_FALSE(components[i].extension.empty()) << components[i].name;
        EXPECT_TRUE(components[i].writesVideo || components[i].writesSound) << components[i].name;
        for (std::size_t j = i + 1; j < components.size(); ++j)
            EXPECT_NE(components[i].subtype, components[j].subtype) << components[i].name;
    }
    const auto found =
        media::findExportComponent(media::makeFourCharCode("MooV"), media::kFFmpegManufacturer);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->name, "QuickTime Movie");
    EXPECT_FALSE(media::findExportComponent(media::makeFourCharCode("MooV"), 0).has_value());
}

TEST_F(ExportComponentTest, EveryComponentWritesAFileThatPlays) {
    ASSERT_TRUE(oracle::ffprobeAvailable());
    for (const media::ExportComponent& component : media::exportComponents()) {
        SCOPED_TRACE(component.name);
        media::WriteOptions options;
        auto movie = joinedClips(options);
        options.component = component;
        const fs::path file = dir() / ("export." + component.extension);
        const auto written = movie->write(file, options);
        ASSERT_TRUE(written.has_value()) << written.error().message;

        const QJsonObject probed = oracle::probe(file);
        EXPECT_EQ(streamsOfType(probed, "video"), component.writesVideo ? 1 : 0);
        EXPECT_EQ(streamsOfType(probed, "audio"), component.writesSound ? 1 : 0);
        EXPECT_NEAR(oracle::playedDuration(file), 1.0, 0.15);
        EXPECT_EQ(chapterCount(file), component.hasChapters ? 2 : 0);
        // Its streams decode into frames again.
        for (const QJsonValue& stream : decodedFrameCounts(file)) {
            if (stream.toObject()["codec_type"].toString() != "data") { // the chapter text
                EXPECT_GT(stream.toObject()["nb_read_frames"].toString().toInt(), 0);
            }
        }
        // The same movie is still readable as a movie of ours.
        EXPECT_TRUE(media::Movie::open(file).has_value());
    }
}

TEST_F(ExportComponentTest, TheSettingsChooseEncodersSizeAndSound) {
    media::WriteOptions options;
    auto movie = joinedClips(options);
    options.component = component("Matroska");
    options.exportSettings.videoEncoder = "libvpx-vp9";
    options.exportSettings.audioEncoder = "libopus";
    options.exportSettings.width = 64;
    options.exportSettings.height = 48;
    options.exportSettings.sampleRate = 48000;
    options.exportSettings.channels = 1;
    const fs::path file = dir() / "set.mkv";
    ASSERT_TRUE(movie->write(file, options).has_value());
    const QJsonObject probed = oracle::probe(file);
    const QJsonObject video = firstStream(probed, "video");
    const QJsonObject audio = firstStream(probed, "audio");
    EXPECT_EQ(video["codec_name"].toString(), "vp9");
    EXPECT_EQ(video["width"].toInt(), 64);
    EXPECT_EQ(video["height"].toInt(), 48);
    EXPECT_EQ(audio["codec_name"].toString(), "opus");
    EXPECT_EQ(audio["channels"].toInt(), 1);
}

TEST_F(ExportComponentTest, AFixedFrameRateDropsFramesToIt) {
    media::WriteOptions options;
    auto movie = joinedClips(options); // 25 frames at 25 fps
    options.component = component("Animated GIF");
    options.exportSettings.frameRateNum = 10;
    options.exportSettings.frameRateDen = 1;
    const fs::path file = dir() / "ten.gif";
    ASSERT_TRUE(movie->write(file, options).has_value());
    EXPECT_NEAR(static_cast<double>(oracle::videoPacketCount(file)), 10.0, 1.0);
}

TEST_F(ExportComponentTest, WhatAFormatCannotHoldIsRefusedAndNothingIsWritten) {
    media::WriteOptions options;
    auto movie = joinedClips(options);
    options.component = component("MPEG-4");
    options.exportSettings.videoEncoder = "libvpx-vp9"; // not one MPEG-4 offers here
    const fs::path file = dir() / "refused.mp4";
    EXPECT_FALSE(movie->write(file, options).has_value());
    EXPECT_FALSE(fs::exists(file));

    // A picture format of a movie without pictures, a sound format of a movie without sound.
    auto sound = *media::Movie::open(fixtures::makeSound(dir(), "tone.wav", 8000, 1, 0.5));
    media::WriteOptions gif;
    gif.component = component("Animated GIF");
    const auto refused = sound->write(dir() / "tone.gif", gif);
    ASSERT_FALSE(refused.has_value());
    EXPECT_NE(refused.error().message.find("no video"), std::string::npos);
    fixtures::ClipRecipe silent;
    silent.audioCodec = "";
    auto pictures = *media::Movie::open(fixtures::makeClip(dir(), "silent.mp4", silent));
    media::WriteOptions wave;
    wave.component = component("Wave");
    EXPECT_FALSE(pictures->write(dir() / "silent.wav", wave).has_value());

    for (const auto& entry : fs::directory_iterator(dir()))
        EXPECT_TRUE(entry.path().extension() == ".wav" || entry.path().extension() == ".mp4") << entry.path();
    EXPECT_FALSE(fs::exists(dir() / "silent.wav"));
}

} // namespace
