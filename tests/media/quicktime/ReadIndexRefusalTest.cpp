// What the index reader refuses, and how: files it cannot copy from
// (ENOTSUP) and files that lie (EBADMSG). None of them may crash it or make
// it allocate by what the file claims.

#include "TinyMovie.h"
#include "media/quicktime/ReadIndex.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

using namespace media::quicktime;
using quicktime_test::atom;
using quicktime_test::Bytes;
using quicktime_test::tinyMovie;
constexpr auto table = quicktime_test::words;

TEST(ReadIndexRefusalTest, RefusesWhatItCannotCopyAndWhatLies) {
    const Bytes whole = tinyMovie({});
    Bytes smallFileType = whole;
    smallFileType[3] = 4; // the 'ftyp' claims to be smaller than its header
    const struct {
        const char* what;
        Bytes file;
        int code;
    } cases[] = {
        {"fragmented", tinyMovie({.fragmentTail = true}), ENOTSUP},
        {"movie extends", tinyMovie({.movieExtends = true}), ENOTSUP},
        {"samples in another file", tinyMovie({.externalData = true}), ENOTSUP},
        {"tiny samples", tinyMovie({.sampleSize = 2, .constantSize = true}), ENOTSUP},
        {"compressed movie header",
         quicktime_test::concat(
             {atom("ftyp", Bytes(8, 'q')), atom("moov", atom("cmov", atom("dcom", Bytes(4, 'z'))))}),
         ENOTSUP},
        {"too short for an atom", Bytes(7, 0), EBADMSG},
        {"no movie", atom("mdat", Bytes(100, 1)), EBADMSG},
        {"an empty movie atom", atom("moov", {}), EBADMSG},
        {"the movie header cut short", Bytes(whole.begin(), whole.end() - 10), EBADMSG},
        {"an atom smaller than its header", smallFileType, EBADMSG},
        {"a 64-bit size cut short",
         quicktime_test::concat({atom("ftyp", Bytes(8, 0)), table({1, 0x6d6f6f76, 0xffffffff})}), EBADMSG},
        {"sizes beyond their table", tinyMovie({.stszBody = table({0, 0xfffffff0, 10, 10, 10})}), EBADMSG},
        {"times beyond their table", tinyMovie({.sttsBody = table({0x10000000, 3, 100})}), EBADMSG},
        {"chunks beyond their table", tinyMovie({.stscBody = table({0x20000000, 1, 1, 1})}), EBADMSG},
        {"offsets beyond their table", tinyMovie({.stcoBody = table({0x40000000, 48})}), EBADMSG},
        {"descriptions beyond their table", tinyMovie({.stsdBody = table({0x7fffffff})}), EBADMSG},
        {"four billion samples of 64 bytes in a tiny file",
         tinyMovie({.sttsBody = table({1, 0xffffffff, 1}),
                    .stszBody = table({64, 0xffffffff}),
                    .stscBody = table({1, 1, 0xffffffff, 1})}),
         EBADMSG},
        {"three samples, two durations", tinyMovie({.sttsBody = table({1, 2, 100})}), EBADMSG},
        {"too few chunks", tinyMovie({.stcoBody = table({2, 48, 58})}), EBADMSG},
        {"description 2 of 1", tinyMovie({.stscBody = table({1, 1, 1, 2})}), EBADMSG},
        {"chunk runs out of order", tinyMovie({.stscBody = table({2, 2, 1, 1, 1, 1, 1})}), EBADMSG},
        {"a sample beyond the end of the file", tinyMovie({.stcoBody = table({3, 48, 58, 0xfffffff0})}),
         EBADMSG}};
    for (const auto& c : cases) {
        auto index = readIndex(c.file);
        ASSERT_FALSE(index.has_value()) << c.what;
        EXPECT_EQ(index.error().code, c.code) << c.what;
        EXPECT_FALSE(index.error().message.empty()) << c.what;
    }
}

} // namespace
