// What the index reader refuses, and how: files it cannot copy from
// (ENOTSUP) and files that lie (EBADMSG). None of them may crash it or make
// it allocate by what the file claims.

#include "TinyMovie.h"
#include "media/quicktime/ReadIndex.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;
using quicktime_test::Bytes;
using quicktime_test::TinyMovieOptions;

int refusalOf(const Bytes& file) {
    auto index = readIndex(file);
    if (index)
        return 0;
    EXPECT_FALSE(index.error().message.empty());
    return index.error().code;
}

int refusalOf(const TinyMovieOptions& options) {
    return refusalOf(quicktime_test::tinyMovie(options));
}

Bytes table(std::initializer_list<std::uint32_t> words) {
    Bytes body;
    for (std::uint32_t word : words)
        quicktime_test::appendBig(body, word, 4);
    return body;
}

TEST(ReadIndexRefusalTest, FilesItCannotCopyFrom) {
    TinyMovieOptions fragmented;
    fragmented.fragmentTail = true;
    EXPECT_EQ(refusalOf(fragmented), ENOTSUP);
    TinyMovieOptions extended;
    extended.movieExtends = true;
    EXPECT_EQ(refusalOf(extended), ENOTSUP);
    TinyMovieOptions external;
    external.externalData = true;
    EXPECT_EQ(refusalOf(external), ENOTSUP);
    TinyMovieOptions tinySamples;
    tinySamples.constantSize = true;
    tinySamples.sampleSize = 2;
    EXPECT_EQ(refusalOf(tinySamples), ENOTSUP);
}

TEST(ReadIndexRefusalTest, ACompressedMovieHeader) {
    const Bytes file = quicktime_test::concat(
        {quicktime_test::atom("ftyp", Bytes(8, 'q')),
         quicktime_test::atom("moov",
                              quicktime_test::atom("cmov", quicktime_test::atom("dcom", Bytes(4, 'z'))))});
    EXPECT_EQ(refusalOf(file), ENOTSUP);
}

TEST(ReadIndexRefusalTest, FilesWithoutAMovie) {
    EXPECT_EQ(refusalOf(Bytes{}), EBADMSG);
    EXPECT_EQ(refusalOf(Bytes(7, 0)), EBADMSG);
    EXPECT_EQ(refusalOf(quicktime_test::atom("mdat", Bytes(100, 1))), EBADMSG);
    EXPECT_EQ(refusalOf(quicktime_test::atom("moov", {})), EBADMSG) << "an empty movie atom";
    const Bytes cut = quicktime_test::tinyMovie({});
    EXPECT_EQ(refusalOf(Bytes(cut.begin(), cut.end() - 10)), EBADMSG) << "the movie header is cut short";
}

TEST(ReadIndexRefusalTest, AtomSizesThatLie) {
    Bytes file = quicktime_test::tinyMovie({});
    file[3] = 4; // the 'ftyp' claims to be smaller than its header
    EXPECT_EQ(refusalOf(file), EBADMSG);
    Bytes wide = quicktime_test::concat(
        {quicktime_test::atom("ftyp", Bytes(8, 0)), table({1, 0x6d6f6f76, 0xffffffff})});
    EXPECT_EQ(refusalOf(wide), EBADMSG) << "a 64-bit size cut short";
}

TEST(ReadIndexRefusalTest, CountsBeyondTheirTables) {
    TinyMovieOptions sizes;
    sizes.stszBody = table({0, 0xfffffff0, 10, 10, 10});
    EXPECT_EQ(refusalOf(sizes), EBADMSG);
    TinyMovieOptions times;
    times.sttsBody = table({0x10000000, 3, 100});
    EXPECT_EQ(refusalOf(times), EBADMSG);
    TinyMovieOptions chunks;
    chunks.stscBody = table({0x20000000, 1, 1, 1});
    EXPECT_EQ(refusalOf(chunks), EBADMSG);
    TinyMovieOptions offsets;
    offsets.stcoBody = table({0x40000000, 48});
    EXPECT_EQ(refusalOf(offsets), EBADMSG);
    TinyMovieOptions descriptions;
    descriptions.stsdBody = table({0x7fffffff});
    EXPECT_EQ(refusalOf(descriptions), EBADMSG);
}

TEST(ReadIndexRefusalTest, ConstantSizedSamplesBeyondTheFile) {
    TinyMovieOptions options;
    options.stszBody = table({64, 0xffffffff}); // four billion samples of 64 bytes in a tiny file
    options.sttsBody = table({1, 0xffffffff, 1});
    options.stscBody = table({1, 1, 0xffffffff, 1});
    EXPECT_EQ(refusalOf(options), EBADMSG);
}

TEST(ReadIndexRefusalTest, TablesThatDisagree) {
    TinyMovieOptions fewTimes;
    fewTimes.sttsBody = table({1, 2, 100}); // three samples, two durations
    EXPECT_EQ(refusalOf(fewTimes), EBADMSG);
    TinyMovieOptions fewChunks;
    fewChunks.stcoBody = table({2, 48, 58}); // three one-sample chunks expected
    EXPECT_EQ(refusalOf(fewChunks), EBADMSG);
    TinyMovieOptions noDescription;
    noDescription.stscBody = table({1, 1, 1, 2}); // names description 2 of 1
    EXPECT_EQ(refusalOf(noDescription), EBADMSG);
    TinyMovieOptions unordered;
    unordered.stscBody = table({2, 2, 1, 1, 1, 1, 1});
    EXPECT_EQ(refusalOf(unordered), EBADMSG);
    TinyMovieOptions beyond;
    beyond.stcoBody = table({3, 48, 58, 0xfffffff0});
    EXPECT_EQ(refusalOf(beyond), EBADMSG) << "a sample beyond the end of the file";
}

TEST(ReadIndexRefusalTest, UnreadablePaths) {
    auto missing = readIndex(std::filesystem::path("/no/such/movie.mov"));
    ASSERT_FALSE(missing.has_value());
    EXPECT_EQ(missing.error().code, ENOENT);
    auto folder = readIndex(std::filesystem::temp_directory_path());
    ASSERT_FALSE(folder.has_value());
    EXPECT_EQ(folder.error().code, EINVAL);
}

} // namespace
