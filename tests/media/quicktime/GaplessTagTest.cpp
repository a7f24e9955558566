// An AAC file without an edit list whose iTunes gapless tag ("iTunSMPB")
// tells its priming and length plays only the samples it names: opened, and
// joined losslessly to itself.

#include "MediaFixtures.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "media/Movie.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

// An atom of `type` whose body is `zeros` zero bytes and then `body`.
std::string atom(const char* type, const std::string& body, std::size_t zeros = 0) {
    const auto size = static_cast<std::uint32_t>(body.size() + zeros + 8);
    return std::string{char(size >> 24), char(size >> 16), char(size >> 8), char(size)} + type +
           std::string(zeros, '\0') + body;
}

// The file with its edit lists hidden ('edts' renamed 'free') and the tag
// added to its movie atom, which FFmpeg writes last.
void tagWithoutEditList(const std::filesystem::path& file, const std::string& tag) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::size_t moov = bytes.rfind("moov") - 4;
    for (std::size_t at = moov; (at = bytes.find("edts", at)) != std::string::npos;)
        bytes.replace(at, 4, "free");
    const std::string item = atom("----", atom("mean", "com.apple.iTunes", 4) + atom("name", "iTunSMPB", 4) +
                                              atom("data", tag, 8));
    const std::string hdlr = atom("hdlr", std::string("mdirappl", 8) + std::string(10, '\0'), 8);
    bytes += atom("udta", atom("meta", hdlr + atom("ilst", item), 4));
    bytes.replace(moov, 8, atom("moov", bytes.substr(moov + 8)).substr(0, 8));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(GaplessTag, PrimingAndLengthComeFromTheTag) {
    const auto dir = fixtures::test::scratchFolder("gapless");
    const auto file = fixtures::makeSound(dir, "tone.m4a", 44100, 1, 1.0);
    tagWithoutEditList(file, " 00000000 00000400 00000000 0000000000009C40"); // 1024 primed, 40000 kept
    const double kept = 40000.0 / 44100;
    auto joined = media::Movie::makeEmpty();
    joined->setEditable(true);
    for (int i = 0; i < 2; ++i) {
        auto movie = media_test::openMovie(file);
        EXPECT_NEAR(media::seconds(movie->duration()), kept, 1e-4);
        media_test::appendWhole(*joined, *movie);
    }
    const auto output = dir / "joined.m4a";
    auto written = joined->write(output, {});
    ASSERT_TRUE(written.has_value()) << written.error().message;
    const auto streams = oracle::probeStreams(output);
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_NEAR(streams[0].duration, 2 * kept, 1e-3);
}

} // namespace
