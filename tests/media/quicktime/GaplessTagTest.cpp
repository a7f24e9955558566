// An AAC file without an edit list whose iTunes gapless tag ("iTunSMPB")
// tells its priming and length plays only the samples it names: opened, and
// joined losslessly to itself.

#include "Ffprobe.h"
#include "MediaFixtures.h"
#include "MovieParts.h"
#include "MovieTiming.h"
#include "SharedClips.h"
#include "media/Movie.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace {

using Bytes = std::vector<char>;

Bytes atom(const char* type, const Bytes& body) {
    const auto size = static_cast<std::uint32_t>(body.size() + 8);
    Bytes out{char(size >> 24), char(size >> 16), char(size >> 8), char(size), type[0], type[1], type[2], type[3]};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes text(std::size_t zeros, const std::string& value) {
    Bytes out(zeros, 0);
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

// The file with its edit lists hidden ('edts' renamed 'free') and the tag
// added to its movie atom, which FFmpeg writes last.
void tagWithoutEditList(const std::filesystem::path& file, const std::string& tag) {
    std::ifstream in(file, std::ios::binary);
    Bytes bytes{std::istreambuf_iterator<char>(in), {}};
    const std::string_view view(bytes.data(), bytes.size());
    const std::size_t moov = view.rfind("moov") - 4;
    for (std::size_t at = moov; (at = view.find("edts", at)) != std::string_view::npos;)
        std::copy_n("free", 4, bytes.begin() + static_cast<std::ptrdiff_t>(at));
    const Bytes item = atom("----", [&] {
        Bytes body = atom("mean", text(4, "com.apple.iTunes"));
        for (const Bytes& part : {atom("name", text(4, "iTunSMPB")), atom("data", text(8, tag))})
            body.insert(body.end(), part.begin(), part.end());
        return body;
    }());
    Bytes meta = text(4, "");
    for (const Bytes& part : {atom("hdlr", text(8, std::string("mdirappl", 8) + std::string(10, '\0'))), atom("ilst", item)})
        meta.insert(meta.end(), part.begin(), part.end());
    const Bytes udta = atom("udta", atom("meta", meta));
    const auto size = static_cast<std::uint32_t>(bytes.size() - moov + udta.size());
    const char header[4] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
    std::copy_n(header, 4, bytes.begin() + static_cast<std::ptrdiff_t>(moov));
    bytes.insert(bytes.end(), udta.begin(), udta.end());
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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
