// Sound files turned into movies: a picture for the sound's whole length with
// every sound track from time 0, named after the file and the time, never
// over an existing file, and nothing at all for files that are not pure
// sound. The written movies are read back with ffprobe.

#include "join/CreateMovieFromSoundFile.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "MovieTiming.h"
#include "TestFolder.h"
#include "join/ApplicationImage.h"
#include "media/Movie.h"
#include "platform/LocaleFormat.h"

#include <QTimeZone>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// 2009-07-14 18:03:22 UTC, the sample date of the locale tests.
const QDateTime kSample = QDateTime::fromSecsSinceEpoch(1'247'594'602, QTimeZone::utc());

class CreateMovieFromSoundFileTest : public ::testing::Test {
protected:
    void SetUp() override { platform::setLocaleForTesting("en_US", "UTC"); }
    void TearDown() override { platform::setLocaleForTesting(nullptr, nullptr); }

    fs::path dir() const { return m_folder.path(); }
    static std::shared_ptr<media::Movie> convert(const fs::path& sound, const QDateTime& when = kSample) {
        return join::createMovieFromSoundFile(sound, [when] { return when; });
    }
    static double secondsOf(const fs::path& file) {
        return media::seconds((*media::Movie::open(file))->duration());
    }

    std::vector<std::string> folderNames() const { return testing_support::namesIn(dir()); }
    testing_support::TestFolder m_folder;
};

TEST_F(CreateMovieFromSoundFileTest, TwoSoundTracksBothStartAtZeroBesideOnePictureOfTheSoundsLength) {
    const fs::path sound = fixtures::makeSound(dir(), "two.m4a", 44100, 2, 1.0, 2);
    const double soundSeconds = secondsOf(sound);
    const auto movie = convert(sound);
    ASSERT_TRUE(movie);
    const fs::path written = join::soundMovieFilename(sound, kSample);
    EXPECT_EQ(movie->fileName(), written) << "the answered movie is the new file, opened";
    EXPECT_NEAR(media::seconds(movie->duration()), soundSeconds, 0.01);
    const auto streams = oracle::probeStreams(written);
    ASSERT_EQ(streams.size(), 3u);
    for (const auto& stream : streams) {
        const bool video = stream.codecType == "video";
        EXPECT_EQ(stream.codecName, video ? "mpeg4" : "aac") << "AAC goes into QuickTime as it is";
        EXPECT_NEAR(stream.start, 0.0, 0.001);
        EXPECT_NEAR(stream.duration, soundSeconds, video ? 0.01 : 0.03);
        if (video) { // the picture is added once
            EXPECT_EQ(std::tuple(stream.codecTag, stream.width, stream.height, stream.frames),
                      std::tuple("mp4v", 640, 480, 1));
        }
    }
    std::vector<std::string> expected{"two.m4a", written.filename().string()};
    std::ranges::sort(expected);
    EXPECT_EQ(folderNames(), expected) << "no temporary file is left";
}

TEST_F(CreateMovieFromSoundFileTest, TheMovieIsNamedAfterTheFileAndTheTimeAndNothingThereIsReplaced) {
    EXPECT_EQ(join::soundMovieFilename(dir() / "Song.aiff", kSample),
              dir() / "Song-7-14-09, 6-03-22 PM.mov")
        << "plain spaces only, whatever the locale's time puts there";
    // A name without extension keeps all of itself; only the last extension goes.
    EXPECT_TRUE(join::soundMovieFilename(dir() / "Song", kSample).filename().string().starts_with("Song-"));
    EXPECT_TRUE(
        join::soundMovieFilename(dir() / "My.Song.mp3", kSample).filename().string().starts_with("My.Song-"));
    const fs::path sound = fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5);
    const fs::path taken = join::soundMovieFilename(sound, kSample);
    testing_support::writeFile(taken, "the user's own file");
    EXPECT_FALSE(convert(sound));
    EXPECT_EQ(testing_support::contentsOf(taken), "the user's own file");
    fs::remove(taken);
    fs::create_symlink(dir() / "nowhere.mov", taken);
    EXPECT_FALSE(convert(sound)) << "a dangling link is something too";
    EXPECT_FALSE(fs::exists(dir() / "nowhere.mov"));
    // The same second twice: the second answers none; a second later writes again.
    fs::remove(taken);
    ASSERT_TRUE(convert(sound));
    const auto firstTime = fs::last_write_time(taken);
    EXPECT_FALSE(convert(sound, kSample.addMSecs(900)));
    EXPECT_EQ(fs::last_write_time(taken), firstTime) << "the first movie is left alone";
    const auto second = convert(sound, kSample.addSecs(1));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->fileName(), join::soundMovieFilename(sound, kSample.addSecs(1)));
}

TEST_F(CreateMovieFromSoundFileTest, AnythingButAPureSoundFileIsNotConverted) {
    const std::vector<fs::path> refused{
        fixtures::makeClip(dir(), "clip.mp4", {.frames = 5}), // a movie with video
        fixtures::makePicture(dir(), "still.png", 16, 16),    // a picture is video too
        m_folder.write("notes.txt", "not media"), dir() / "gone.wav", fs::path()};
    const auto before = folderNames();
    for (const fs::path& file : refused)
        EXPECT_FALSE(convert(file)) << file;
    EXPECT_EQ(folderNames(), before) << "nothing is written";
    // Only what the application ships is found (its still picture is in every converted movie).
    EXPECT_FALSE(join::applicationImageNamed("Moon.tiff"));
    EXPECT_FALSE(join::applicationImageNamed("../Sun.tiff"));
}

// Sound that QuickTime holds is copied sample for sample; other codecs are encoded to AAC.
TEST_F(CreateMovieFromSoundFileTest, SoundIsCopiedWhereQuickTimeHoldsItElseEncodedToAac) {
    const std::pair<fs::path, const char*> cases[] = {
        {fixtures::makeSound(dir(), "pcm.aiff", 44100, 2, 1.0), "pcm_s16be"},
        {fixtures::makeSound(dir(), "song.mp3", 44100, 2, 1.0), "mp3"},
        {fixtures::makeClip(
             dir(), "opus.mka",
             {.container = "mkv", .videoCodec = "", .audioCodec = "libopus", .sampleRate = 48000}),
         "aac"},
    };
    for (const auto& [sound, expectedCodec] : cases) {
        SCOPED_TRACE(sound.filename().string());
        const double soundSeconds = secondsOf(sound);
        const auto movie = convert(sound);
        ASSERT_TRUE(movie);
        const auto streams = oracle::probeStreams(movie->fileName());
        ASSERT_EQ(streams.size(), 2u);
        for (const auto& stream : streams)
            if (stream.codecType == "audio")
                EXPECT_EQ(stream.codecName, expectedCodec);
            else
                EXPECT_NEAR(stream.duration, soundSeconds, 0.01) << "the picture lasts as long";
        EXPECT_NEAR(oracle::playedDuration(movie->fileName()), soundSeconds, 0.05);
    }
}

} // namespace
