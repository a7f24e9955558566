// Writing a still picture with sound refuses what it cannot write and then
// leaves nothing behind: no temporary file, no replaced destination.

#include "media/PictureWithSound.h"

#include "MediaFixtures.h"
#include "MovieParts.h"
#include "TestFolder.h"

#include <QByteArray>
#include <cerrno>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using media::writePictureWithSound;
using testing_support::contentsOf;
using testing_support::namesIn;

class PictureWithSoundTest : public ::testing::Test {
protected:
    const testing_support::TestFolder m_dir;
    const fs::path m_out = m_dir / "out.mov";
    const std::shared_ptr<media::Movie> m_sound =
        media_test::openMovie(fixtures::makeSound(m_dir.path(), "song.wav", 8000, 1, 0.5));
    const QByteArray m_picture =
        QByteArray::fromStdString(contentsOf(fixtures::makePicture(m_dir.path(), "still.png", 33, 17)));
    const media::Time m_second = media::makeTime(1, 1);
};

TEST_F(PictureWithSoundTest, AnOddSizedPngPictureIsWrittenAsLongAsAsked) {
    ASSERT_TRUE(writePictureWithSound(m_out, m_picture, media::makeTime(3, 1), *m_sound));
    auto movie = media_test::openMovie(m_out);
    EXPECT_NEAR(media::seconds(movie->tracksOfType(media::MediaType::Video).front()->duration()), 3.0, 0.01);
    EXPECT_NEAR(media::seconds(movie->tracksOfType(media::MediaType::Sound).front()->duration()), 0.5, 0.01)
        << "a sound shorter than the movie keeps its own length";
    EXPECT_TRUE(movie->frameImage(media::makeTime(2, 1))) << "the picture shows to the end";
}

TEST_F(PictureWithSoundTest, WhatCannotBeWrittenLeavesNothingBehind) {
    EXPECT_FALSE(writePictureWithSound(m_out, QByteArray("not a picture at all"), m_second, *m_sound));
    EXPECT_FALSE(writePictureWithSound(m_out, m_picture.left(m_picture.size() / 2), m_second, *m_sound))
        << "a cut-off picture";
    EXPECT_FALSE(writePictureWithSound(m_out, m_picture, media::zeroTime(), *m_sound)) << "no duration";
    EXPECT_FALSE(writePictureWithSound(m_dir / "no folder" / "out.mov", m_picture, m_second, *m_sound));
    auto edited = media::Movie::makeEmpty();
    edited->setEditable(true);
    for (int part = 0; part < 2; ++part)
        ASSERT_TRUE(edited->insertSegment(
            *m_sound, media::makeTimeRange(media::zeroTime(), media::makeTime(1, 4)), media::zeroTime()));
    const auto refused = writePictureWithSound(m_out, m_picture, m_second, *edited);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().code, EINVAL) << "only sound tracks as opened from one file";
    EXPECT_FALSE(writePictureWithSound(m_out, m_picture, m_second, *media::Movie::makeEmpty()))
        << "no sound track";
    EXPECT_EQ(namesIn(m_dir.path()), (std::vector<std::string>{"song.wav", "still.png"}));
    // An existing file is never replaced.
    m_dir.write("out.mov", "keep me");
    const auto written = writePictureWithSound(m_out, m_picture, m_second, *m_sound);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().code, EEXIST);
    EXPECT_EQ(contentsOf(m_out), "keep me");
    EXPECT_EQ(namesIn(m_dir.path()), (std::vector<std::string>{"out.mov", "song.wav", "still.png"}))
        << "and no temporary file";
}

} // namespace
