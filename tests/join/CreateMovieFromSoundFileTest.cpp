// Sound files turned into movies: a picture for the sound's whole length with
// every sound track from time 0, named after the file and the time, never
// over an existing file, and nothing at all for files that are not pure
// sound. The written movies are read back with ffprobe.

#include "join/CreateMovieFromSoundFile.h"

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "join/ApplicationImage.h"
#include "media/Movie.h"
#include "platform/LocaleFormat.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// 2009-07-14 18:03:22 UTC, the sample date of the locale tests.
const QDateTime kSample = QDateTime::fromSecsSinceEpoch(1'247'594'602, QTimeZone::utc());

class CreateMovieFromSoundFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::quietFfmpegLogs();
        platform::setLocaleForTesting("en_US", "UTC");
    }
    void TearDown() override { platform::setLocaleForTesting(nullptr, nullptr); }

    fs::path dir() const { return m_dir.path().toStdString(); }

    static join::Clock clockAt(const QDateTime& time) {
        return [time] { return time; };
    }

    // The names in the folder, sorted.
    std::vector<std::string> folderNames() const {
        std::vector<std::string> names;
        for (const auto& item : fs::directory_iterator(dir()))
            names.push_back(item.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static QJsonArray streamsOfType(const QJsonObject& probed, const QString& type) {
        QJsonArray result;
        for (const auto& stream : probed["streams"].toArray())
            if (stream.toObject()["codec_type"].toString() == type)
                result.append(stream);
        return result;
    }

    static double secondsOf(const QJsonObject& stream, const char* key) {
        return stream[key].toString().toDouble();
    }

    QTemporaryDir m_dir;
};

TEST_F(CreateMovieFromSoundFileTest, TheMovieIsNamedAfterTheSoundFileAndTheTimeBesideIt) {
    const fs::path sound = dir() / "Song.aiff";
    EXPECT_EQ(join::soundMovieFilename(sound, kSample),
              dir() / QString::fromUtf8("Song-7-14-09, 6-03-22\u202FPM.mov").toStdString());
    EXPECT_EQ(join::soundMovieFilename(dir() / "Song", kSample).filename().string().substr(0, 5), "Song-")
        << "a name without extension keeps all of itself";
    EXPECT_EQ(join::soundMovieFilename(dir() / "My.Song.mp3", kSample).filename().string().substr(0, 8),
              "My.Song-")
        << "only the last extension goes";
}

TEST_F(CreateMovieFromSoundFileTest, TwoSoundTracksBothStartAtZeroBesideOnePictureOfTheSoundsLength) {
    const fs::path sound = fixtures::makeSound(dir(), "two.m4a", 44100, 2, 1.0, 2);
    const double soundSeconds = media::seconds((*media::Movie::open(sound))->duration());

    const auto movie = join::createMovieFromSoundFile(sound, clockAt(kSample));
    ASSERT_TRUE(movie);
    const fs::path written = join::soundMovieFilename(sound, kSample);
    EXPECT_EQ(movie->fileName(), written) << "the answered movie is the new file, opened";
    EXPECT_EQ(movie->tracksOfType(media::MediaType::Sound).size(), 2u);
    EXPECT_NEAR(media::seconds(movie->duration()), soundSeconds, 0.01);

    const QJsonObject probed = oracle::probe(written);
    const QJsonArray video = streamsOfType(probed, "video");
    const QJsonArray audio = streamsOfType(probed, "audio");
    ASSERT_EQ(video.size(), 1);
    ASSERT_EQ(audio.size(), 2);
    const QJsonObject picture = video[0].toObject();
    EXPECT_EQ(picture["codec_name"].toString(), "mpeg4");
    EXPECT_EQ(picture["codec_tag_string"].toString(), "mp4v");
    EXPECT_EQ(picture["width"].toInt(), 640);
    EXPECT_EQ(picture["height"].toInt(), 480);
    EXPECT_EQ(picture["nb_frames"].toString(), "1") << "the picture is added once";
    EXPECT_NEAR(secondsOf(picture, "start_time"), 0.0, 0.001);
    EXPECT_NEAR(secondsOf(picture, "duration"), soundSeconds, 0.01);
    for (const auto& track : audio) {
        const QJsonObject stream = track.toObject();
        EXPECT_EQ(stream["codec_name"].toString(), "aac") << "AAC goes into QuickTime as it is";
        EXPECT_NEAR(secondsOf(stream, "start_time"), 0.0, 0.001);
        EXPECT_NEAR(secondsOf(stream, "duration"), soundSeconds, 0.03);
    }
    std::vector<std::string> expected{"two.m4a", written.filename().string()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderNames(), expected) << "no temporary file is left";
}

TEST_F(CreateMovieFromSoundFileTest, SameSecondTwiceAnswersNoneTheSecondTimeAndASecondLaterWritesAgain) {
    const fs::path sound = fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5);
    ASSERT_TRUE(join::createMovieFromSoundFile(sound, clockAt(kSample)));
    const fs::path first = join::soundMovieFilename(sound, kSample);
    const auto firstSize = fs::file_size(first);
    const auto firstTime = fs::last_write_time(first);

    EXPECT_FALSE(join::createMovieFromSoundFile(sound, clockAt(kSample.addMSecs(900))));
    EXPECT_EQ(fs::file_size(first), firstSize) << "the first movie is left alone";
    EXPECT_EQ(fs::last_write_time(first), firstTime);

    const auto second = join::createMovieFromSoundFile(sound, clockAt(kSample.addSecs(1)));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->fileName(), join::soundMovieFilename(sound, kSample.addSecs(1)));
    EXPECT_EQ(folderNames().size(), 3u);
}

TEST_F(CreateMovieFromSoundFileTest, AnythingButAPureSoundFileIsNotConverted) {
    fixtures::ClipSpec clipSpec;
    clipSpec.frames = 5;
    const fs::path withVideo = fixtures::makeClip(dir(), "clip.mp4", clipSpec);
    const fs::path picture = fixtures::makePicture(dir(), "still.png", 16, 16);
    std::ofstream(dir() / "notes.txt") << "not media";
    const auto before = folderNames();

    EXPECT_FALSE(join::createMovieFromSoundFile(withVideo, clockAt(kSample))) << "a movie with video";
    EXPECT_FALSE(join::createMovieFromSoundFile(picture, clockAt(kSample))) << "a picture is video too";
    EXPECT_FALSE(join::createMovieFromSoundFile(dir() / "notes.txt", clockAt(kSample))) << "does not open";
    EXPECT_FALSE(join::createMovieFromSoundFile(dir() / "gone.wav", clockAt(kSample))) << "no such file";
    EXPECT_FALSE(join::createMovieFromSoundFile(fs::path(), clockAt(kSample))) << "no path";
    EXPECT_EQ(folderNames(), before) << "nothing is written";
}

TEST_F(CreateMovieFromSoundFileTest, SomethingAlreadyAtTheNameIsNeverReplaced) {
    const fs::path sound = fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5);
    const fs::path taken = join::soundMovieFilename(sound, kSample);
    std::ofstream(taken) << "the user's own file";
    EXPECT_FALSE(join::createMovieFromSoundFile(sound, clockAt(kSample)));
    std::ifstream read(taken);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(read), {}), "the user's own file");

    fs::remove(taken);
    fs::create_symlink(dir() / "nowhere.mov", taken);
    EXPECT_FALSE(join::createMovieFromSoundFile(sound, clockAt(kSample)))
        << "a dangling link is something too";
    EXPECT_FALSE(fs::exists(dir() / "nowhere.mov"));
}

// Sound that QuickTime holds is copied sample for sample; other codecs are encoded to AAC.
TEST_F(CreateMovieFromSoundFileTest, SoundIsCopiedWhereQuickTimeHoldsItElseEncodedToAac) {
    fixtures::ClipSpec opusSpec;
    opusSpec.container = "mkv";
    opusSpec.videoCodec = "";
    opusSpec.audioCodec = "libopus";
    opusSpec.sampleRate = 48000;
    const struct {
        fs::path sound;
        const char* expectedCodec;
    } cases[] = {
        {fixtures::makeSound(dir(), "pcm.aiff", 44100, 2, 1.0), "pcm_s16be"},
        {fixtures::makeSound(dir(), "little.wav", 22050, 1, 1.0), "pcm_s16le"},
        {fixtures::makeSound(dir(), "song.mp3", 44100, 2, 1.0), "mp3"},
        {fixtures::makeClip(dir(), "opus.mka", opusSpec), "aac"},
    };
    for (const auto& [sound, expectedCodec] : cases) {
        SCOPED_TRACE(sound.filename().string());
        const double soundSeconds = media::seconds((*media::Movie::open(sound))->duration());
        const auto movie = join::createMovieFromSoundFile(sound, clockAt(kSample));
        ASSERT_TRUE(movie);
        const QJsonObject probed = oracle::probe(movie->fileName());
        const QJsonArray audio = streamsOfType(probed, "audio");
        ASSERT_EQ(audio.size(), 1);
        EXPECT_EQ(audio[0].toObject()["codec_name"].toString(), expectedCodec);
        EXPECT_NEAR(oracle::playedDuration(movie->fileName()), soundSeconds, 0.05);
        EXPECT_NEAR(secondsOf(streamsOfType(probed, "video")[0].toObject(), "duration"), soundSeconds, 0.01);
    }
}

TEST_F(CreateMovieFromSoundFileTest, TheStillPictureShipsWithTheApplication) {
    const auto sun = join::applicationImageNamed("Sun.tiff");
    ASSERT_TRUE(sun);
    EXPECT_TRUE(sun->startsWith("II*") || sun->startsWith("MM")) << "a TIFF file";
    EXPECT_FALSE(join::applicationImageNamed("Moon.tiff"));
    EXPECT_FALSE(join::applicationImageNamed("../Sun.tiff"));
}

} // namespace
