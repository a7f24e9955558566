// A QuickTime reference movie opens with the samples of the file it refers to.

#include "FileContents.h"
#include "MovieParts.h"
#include "SharedClips.h"
#include "media/Movie.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>

namespace {

using Bytes = std::string;

void appendBig(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

Bytes atom(const std::string& type, const Bytes& body) {
    Bytes out;
    appendBig(out, 8 + body.size(), 4);
    return out + type + body;
}

// A Mac alias record whose tagged path field (type 2) holds the absolute path
// with ":" between its parts, after an empty volume name; written here by
// hand, apart from the writer under test.
Bytes aliasRecord(const std::filesystem::path& target) {
    std::string colonPath = target.string();
    std::ranges::replace(colonPath, '/', ':');
    const std::string name = target.filename().string().substr(0, 63);
    Bytes record(10 + 1 + 27 + 12, '\0'); // creator, size, version, kind; volume name; volume date etc.
    record.push_back(static_cast<char>(name.size()));
    record += name + std::string(63 - name.size(), '\0');
    record.append(16, '\0');      // file id, creation date, type, creator
    appendBig(record, 0xffff, 2); // levels up from the alias: unknown
    appendBig(record, 0xffff, 2); // levels down to the target: unknown
    record.append(16, '\0');
    appendBig(record, 2, 2); // tagged field: absolute path
    appendBig(record, colonPath.size(), 2);
    record += colonPath + std::string(colonPath.size() % 2, '\0');
    appendBig(record, 0xffff, 2); // end of the tagged fields
    appendBig(record, 0, 2);
    return record;
}

// Copies the atoms in [begin, end), replacing every data reference atom and
// leaving out the sample data ('mdat').
Bytes rewrite(const Bytes& in, std::size_t begin, std::size_t end, const Bytes& dref, bool topLevel) {
    Bytes out;
    for (std::size_t at = begin; at + 8 <= end;) {
        std::uint32_t size = 0;
        for (int i = 0; i < 4; ++i)
            size = size << 8 | static_cast<std::uint8_t>(in[at + i]);
        const std::string type = in.substr(at + 4, 4);
        if (size < 8 || at + size > end)
            throw std::runtime_error("reference fixture: unsupported atom layout");
        if (type == "dref")
            out += dref;
        else if (type == "moov" || type == "trak" || type == "mdia" || type == "minf" || type == "dinf")
            out += atom(type, rewrite(in, at + 8, at + size, dref, false));
        else if (!topLevel || type == "ftyp")
            out += in.substr(at, size);
        at += size;
    }
    return out;
}

TEST(ReferenceMovieTest, OpensWithTheReferencedSamples) {
    const auto source = fixtures::test::h264AacClip("mov", 25);
    Bytes entry(4, '\0'); // version and flags: the data is elsewhere
    Bytes drefBody(7, '\0');
    drefBody += '\1'; // one entry
    const Bytes dref =
        atom("dref", drefBody + atom("alis", entry + aliasRecord(std::filesystem::absolute(source))));
    const std::string bytes = testing_support::contentsOf(source);
    const auto reference = testing_support::writeFile(fixtures::test::scratchFolder("reference") / "ref.mov",
                                                      rewrite(bytes, 0, bytes.size(), dref, true));
    ASSERT_LT(std::filesystem::file_size(reference), bytes.size() / 2)
        << "the reference movie holds no samples";

    ASSERT_TRUE(media::Movie::canOpen(reference));
    auto original = media_test::openMovie(source);
    auto movie = media_test::openMovie(reference);
    EXPECT_EQ(media::compareTimes(movie->duration(), original->duration()), 0);
    EXPECT_EQ(movie->frameCount(), 25);
    EXPECT_EQ(movie->naturalSize(), (media::Size{160, 120}));
    auto image = movie->frameImage(media::makeTime(1, 2));
    auto expected = original->frameImage(media::makeTime(1, 2));
    ASSERT_TRUE(image && expected);
    EXPECT_EQ(*image, *expected);
}

} // namespace
