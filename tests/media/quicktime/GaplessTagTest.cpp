// An AAC file without an edit list whose iTunes gapless tag ("iTunSMPB")
// tells its priming and length plays only the samples it names: opened, and
// joined losslessly to itself, whether or not its track counts time in
// samples (the tag always does).

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

std::uint32_t bigEndian32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

void setBigEndian32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

// The file's one track counting time in half samples: its media header's
// time scale and duration and each of its time table's durations doubled.
void doubleTrackTimeScale(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const std::size_t mdhd = bytes.find("mdhd") + 4; // version 0: times of 32 bits
    for (const std::size_t field : {mdhd + 12, mdhd + 16})
        setBigEndian32(bytes, field, 2 * bigEndian32(bytes, field));
    const std::size_t stts = bytes.find("stts") + 4;
    for (std::uint32_t k = 0; k < bigEndian32(bytes, stts + 4); ++k)
        setBigEndian32(bytes, stts + 12 + 8 * k, 2 * bigEndian32(bytes, stts + 12 + 8 * k));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class GaplessTag : public ::testing::TestWithParam<bool> {};

TEST_P(GaplessTag, PrimingAndLengthComeFromTheTag) {
    const auto dir = fixtures::test::scratchFolder("gapless");
    const auto file = fixtures::makeSound(dir, "tone.m4a", 44100, 1, 1.0);
    tagWithoutEditList(file, " 00000000 00000400 00000000 0000000000009C40"); // 1024 primed, 40000 kept
    if (GetParam())
        doubleTrackTimeScale(file);
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

INSTANTIATE_TEST_SUITE_P(TimeScales, GaplessTag, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "TwiceTheSampleRate" : "SampleRate"; });

} // namespace
