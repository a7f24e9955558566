// A QuickTime reference movie opens with the samples of the file it refers to.

#include "media/Movie.h"

#include "MediaFixtures.h"
#include "ReferenceMovieFixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(ReferenceMovieTest, OpensWithTheReferencedSamples) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    fixtures::ClipRecipe recipe;
    recipe.container = "mov";
    const auto source = fixtures::makeClip(dir.path().toStdString(), "source.mov", recipe);
    const auto reference = makeReferenceMovie(source, std::filesystem::path(dir.path().toStdString()) / "ref.mov");
    ASSERT_LT(std::filesystem::file_size(reference), std::filesystem::file_size(source) / 2)
        << "the reference movie holds no samples";

    ASSERT_TRUE(media::Movie::canOpen(reference));
    auto original = media::Movie::open(source);
    auto movie = media::Movie::open(reference);
    ASSERT_TRUE(original.has_value());
    ASSERT_TRUE(movie.has_value()) << movie.error().message;
    EXPECT_EQ(media::compareTimes((*movie)->duration(), (*original)->duration()), 0);
    EXPECT_EQ((*movie)->frameCount(), 25);
    EXPECT_EQ((*movie)->naturalSize(), (media::Size{160, 120}));
    auto image = (*movie)->frameImage(media::makeTime(1, 2));
    auto expected = (*original)->frameImage(media::makeTime(1, 2));
    ASSERT_TRUE(image && expected);
    EXPECT_EQ(*image, *expected);
}

} // namespace
