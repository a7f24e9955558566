// A QuickTime reference movie opens with the samples of the file it refers to.

#include "FileContents.h"
#include "MovieParts.h"
#include "SharedClips.h"
#include "TinyMovie.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace quicktime_test;

// A Mac alias record whose tagged path field (type 2) holds the absolute path
// with ":" between its parts, after an empty volume name; written here by
// hand, apart from the writer under test.
Bytes aliasRecord(const std::filesystem::path& target) {
    std::string colonPath = target.string();
    std::ranges::replace(colonPath, '/', ':');
    const std::string name = target.filename().string().substr(0, 63);
    Bytes record(10 + 1 + 27 + 12, 0); // creator, size, version, kind; volume name; volume date etc.
    record.push_back(static_cast<std::uint8_t>(name.size()));
    record.insert(record.end(), name.begin(), name.end());
    record.resize(record.size() + 63 - name.size() + 16); // the name's padding; file id, dates, type, creator
    appendBig(record, 0xffffffff, 4);                     // levels up from the alias and down: unknown
    record.resize(record.size() + 16);
    appendBig(record, 2, 2); // tagged field: absolute path
    appendBig(record, colonPath.size(), 2);
    record.insert(record.end(), colonPath.begin(), colonPath.end());
    record.resize(record.size() + colonPath.size() % 2);
    appendBig(record, 0xffff0000, 4); // end of the tagged fields
    return record;
}

// Copies the atoms in [begin, end), replacing every data reference atom and
// leaving out the sample data ('mdat').
Bytes rewrite(const Bytes& in, std::size_t begin, std::size_t end, const Bytes& dref, bool topLevel) {
    Bytes out;
    for (std::size_t at = begin; at + 8 <= end;) {
        const std::uint32_t size = in[at] << 24 | in[at + 1] << 16 | in[at + 2] << 8 | in[at + 3];
        const std::string type(in.begin() + at + 4, in.begin() + at + 8);
        if (size < 8 || at + size > end)
            throw std::runtime_error("reference fixture: unsupported atom layout");
        if (type == "dref")
            out = concat({out, dref});
        else if (type == "moov" || type == "trak" || type == "mdia" || type == "minf" || type == "dinf")
            out = concat({out, atom(type, rewrite(in, at + 8, at + size, dref, false))});
        else if (!topLevel || type == "ftyp")
            out.insert(out.end(), in.begin() + at, in.begin() + at + size);
        at += size;
    }
    return out;
}

TEST(ReferenceMovieTest, OpensWithTheReferencedSamples) {
    const auto source = fixtures::test::h264AacClip("mov", 25);
    // One entry, its data elsewhere (flags 0).
    const Bytes dref = fullAtom(
        "dref", 0, 0,
        concat({words({1}), fullAtom("alis", 0, 0, aliasRecord(std::filesystem::absolute(source)))}));
    const std::string bytes = testing_support::contentsOf(source);
    const Bytes reference = rewrite(Bytes(bytes.begin(), bytes.end()), 0, bytes.size(), dref, true);
    ASSERT_LT(reference.size(), bytes.size() / 2) << "the reference movie holds no samples";
    const auto file = testing_support::writeFile(fixtures::test::scratchFolder("reference") / "ref.mov",
                                                 std::string(reference.begin(), reference.end()));

    ASSERT_TRUE(media::Movie::canOpen(file));
    auto original = media_test::openMovie(source);
    auto movie = media_test::openMovie(file);
    EXPECT_EQ(media::compareTimes(movie->duration(), original->duration()), 0);
    EXPECT_EQ(movie->frameCount(), 25);
    EXPECT_EQ(movie->naturalSize(), (media::Size{160, 120}));
    auto image = movie->frameImage(media::makeTime(1, 2));
    auto expected = original->frameImage(media::makeTime(1, 2));
    ASSERT_TRUE(image && expected);
    EXPECT_EQ(*image, *expected);
}

} // namespace
