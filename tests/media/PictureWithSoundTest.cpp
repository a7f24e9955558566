// Writing a still picture with sound refuses what it cannot write and then
// leaves nothing behind: no temporary file, no replaced destination.

#include "media/PictureWithSound.h"

#include "MediaFixtures.h"
#include "media/Movie.h"

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fstream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class PictureWithSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixtures::quietFfmpegLogs();
        m_sound = *media::Movie::open(fixtures::makeSound(dir(), "song.wav", 8000, 1, 0.5));
        QFile png(QString::fromStdString(fixtures::makePicture(dir(), "still.png", 33, 17).string()));
        ASSERT_TRUE(png.open(QIODevice::ReadOnly));
        m_picture = png.readAll();
    }

    fs::path dir() const { return m_dir.path().toStdString(); }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(dir()), fs::directory_iterator()));
    }

    QTemporaryDir m_dir;
    std::shared_ptr<media::Movie> m_sound;
    QByteArray m_picture;
};

TEST_F(PictureWithSoundTest, AnOddSizedPngPictureIsWrittenAsLongAsAsked) {
    const fs::path out = dir() / "out.mov";
    const media::Time duration = media::makeTime(3, 1);
    ASSERT_TRUE(media::writePictureWithSound(out, m_picture, duration, *m_sound));
    auto movie = media::Movie::open(out);
    ASSERT_TRUE(movie);
    EXPECT_NEAR(media::seconds((*movie)->tracksOfType(media::MediaType::Video).front()->duration()), 3.0,
                0.01);
    EXPECT_NEAR(media::seconds((*movie)->tracksOfType(media::MediaType::Sound).front()->duration()), 0.5,
                0.01)
        << "a sound shorter than the movie keeps its own length";
    EXPECT_TRUE((*movie)->frameImage(media::makeTime(2, 1))) << "the picture shows to the end";
}

TEST_F(PictureWithSoundTest, WhatCannotBeWrittenLeavesNothingBehind) {
    const fs::path out = dir() / "out.mov";
    const media::Time second = media::makeTime(1, 1);
    const std::size_t before = fileCount();

    EXPECT_FALSE(media::writePictureWithSound(out, QByteArray("not a picture at all"), second, *m_sound));
    EXPECT_FALSE(media::writePictureWithSound(out, QByteArray(), second, *m_sound));
    EXPECT_FALSE(media::writePictureWithSound(out, m_picture.left(m_picture.size() / 2), second, *m_sound))
        << "a cut-off picture";
    EXPECT_FALSE(media::writePictureWithSound(out, m_picture, media::zeroTime(), *m_sound)) << "no duration";
    EXPECT_FALSE(media::writePictureWithSound(dir() / "no folder" / "out.mov", m_picture, second, *m_sound));

    auto edited = media::Movie::makeEmpty();
    edited->setEditable(true);
    ASSERT_TRUE(edited->insertSegment(
        *m_sound, media::makeTimeRange(media::zeroTime(), media::makeTime(1, 4)), media::zeroTime()));
    ASSERT_TRUE(edited->insertSegment(
        *m_sound, media::makeTimeRange(media::zeroTime(), media::makeTime(1, 4)), media::zeroTime()));
    const auto refused = media::writePictureWithSound(out, m_picture, second, *edited);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, EINVAL) << "only sound tracks as opened from one file";
    EXPECT_FALSE(media::writePictureWithSound(out, m_picture, second, *media::Movie::makeEmpty()))
        << "no sound track";
    EXPECT_EQ(fileCount(), before);
}

TEST_F(PictureWithSoundTest, AnExistingFileIsNeverReplaced) {
    const fs::path out = dir() / "out.mov";
    std::ofstream(out) << "keep me";
    const auto written = media::writePictureWithSound(out, m_picture, media::makeTime(1, 1), *m_sound);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().code, EEXIST);
    std::ifstream read(out);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(read), {}), "keep me");
    EXPECT_EQ(fileCount(), 3u) << "song.wav, still.png, out.mov and no temporary file";
}

} // namespace
