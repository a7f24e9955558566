// Every kind of input the engine meets, re-encoded: joined in pairs and in
// one long list (also scaled in time), and written through every export
// component. ffprobe and ffmpeg read the results.

#include "Ffprobe.h"
#include "JoinProbe.h"
#include "MovieParts.h"
#include "SharedClips.h"
#include "media/ExportComponent.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <numeric>

namespace media {
void PrintTo(const ExportComponent& component, std::ostream* out) {
    *out << component.name;
}
} // namespace media

namespace {

namespace fs = std::filesystem;
using fixtures::ClipRecipe;

struct Input final {
    const char* file;
    ClipRecipe recipe; // unused for pictures and sound files
};

ClipRecipe clip(const char* container, const char* video, const char* sound, int fpsNum, int fpsDen,
                int sampleRate, int channels, void (*change)(ClipRecipe&) = nullptr) {
    ClipRecipe recipe{.container = container,
                      .videoCodec = video,
                      .audioCodec = sound,
                      .width = 128,
                      .height = 96,
                      .fpsNum = fpsNum,
                      .fpsDen = fpsDen,
                      .frames = std::max(3, 8 * fpsNum / fpsDen / 25), // about a third of a second
                      .sampleRate = sampleRate,
                      .channels = channels};
    if (change)
        change(recipe);
    return recipe;
}

// Pictures and sound files are made from their names. The 3GP keeps H.263's
// own picture size and carries AMR-NB, written frame by frame by the fixtures.
const std::vector<Input> kInputs{
    {"h264-aac-25.mp4", clip("mp4", "libx264", "aac", 25, 1, 44100, 2)},
    {"h264-aac-24-mono-22k.mov", clip("mov", "libx264", "aac", 24, 1, 22050, 1)},
    {"h264-aac-23.976-5.1.mkv", clip("mkv", "libx264", "aac", 24000, 1001, 48000, 6)},
    {"vp9-opus-50.webm", clip("webm", "libvpx-vp9", "libopus", 50, 1, 48000, 2)},
    {"vp8-vorbis-30.webm", clip("webm", "libvpx", "libvorbis", 30, 1, 44100, 2)},
    {"mpeg4-mp3-2997-100.avi", clip("avi", "mpeg4", "libmp3lame", 2997, 100, 44100, 2)},
    {"h264-aac-59.94.ts", clip("ts", "libx264", "aac", 60000, 1001, 48000, 2)},
    {"mpeg2-mp2-29.97.ts", clip("ts", "mpeg2video", "mp2", 30000, 1001, 48000, 2)},
    {"h263-amr-8k-mono.3gp",
     clip("3gp", "h263", "amr_nb", 15, 1, 8000, 1, [](ClipRecipe& r) { r.width = 176, r.height = 144; })},
    {"hevc-aac-30-96k.mp4", clip("mp4", "libx265", "aac", 30, 1, 96000, 2,
                                 [](ClipRecipe& r) {
                                     r.videoOptions = {{"x265-params", "log-level=error"}};
                                 })},
    {"variable-rate.mkv",
     clip("mkv", "libx264", "aac", 25, 1, 44100, 2, [](ClipRecipe& r) { r.variableFrameRate = true; })},
    {"rotated.mp4",
     clip("mp4", "libx264", "aac", 25, 1, 44100, 2, [](ClipRecipe& r) { r.rotationDegrees = 90; })},
    {"non-square.mp4", clip("mp4", "libx264", "aac", 25, 1, 44100, 2,
                            [](ClipRecipe& r) { r.width = 96, r.sarNum = 4, r.sarDen = 3; })},
    {"no-sound.mp4", clip("mp4", "libx264", "", 25, 1, 44100, 2)},
    {"picture.jpg", {}},
    {"picture.png", {}},
    {"tone.wav", {}},
};
constexpr std::size_t kSilent = 13; // no-sound.mp4
constexpr std::size_t kAvi = 5;
constexpr std::size_t kPicture = 14; // picture.jpg

bool isClip(const Input& input) {
    const std::string name = input.file;
    return !name.starts_with("picture") && !name.starts_with("tone");
}

// The frame rate a re-encoded join of these inputs chooses: the fastest.
double fastestRate(const std::vector<std::size_t>& order) {
    double fastest = 0;
    for (const std::size_t i : order)
        if (isClip(kInputs[i]) && !kInputs[i].recipe.videoCodec.empty())
            fastest =
                std::max(fastest, static_cast<double>(kInputs[i].recipe.fpsNum) / kInputs[i].recipe.fpsDen);
    return fastest;
}

bool hasSound(const Input& input) {
    const std::string name = input.file;
    return name.starts_with("tone") || (!name.starts_with("picture") && !input.recipe.audioCodec.empty());
}

// The inputs, made once.
const fs::path& inputFile(std::size_t i) {
    static const std::vector<fs::path> files = [] {
        const fs::path dir = fixtures::test::scratchFolder("inputs");
        std::vector<fs::path> made;
        for (const Input& input : kInputs) {
            const std::string name = input.file;
            made.push_back(name.starts_with("picture") ? fixtures::makePicture(dir, name, 128, 96)
                           : name.starts_with("tone")  ? fixtures::makeSound(dir, name, 44100, 2, 0.3)
                                                       : fixtures::makeClip(dir, name, input.recipe));
        }
        return made;
    }();
    return files.at(i);
}

// Joins the inputs through re-encoding, scaled by `scale` when it is not 1,
// and checks that each join point keeps picture and sound together: a key
// frame starts each segment, and the sound is silent exactly over the
// segments without sound. No frame is shorter than half a frame of the
// output's rate (the sources' own frames are all longer), and FFmpeg decodes
// the movie without a complaint when every source keeps a constant rate.
void joinAndCheck(const std::vector<std::size_t>& order, double scale = 1) {
    auto joined = media::Movie::makeEmpty();
    joined->setEditable(true);
    std::vector<std::pair<double, bool>> segments; // start in seconds, has sound
    for (const std::size_t i : order) {
        segments.emplace_back(media::seconds(joined->duration()) * scale, hasSound(kInputs[i]));
        media_test::appendWhole(*joined, *media_test::openMovie(inputFile(i)));
    }
    const double length = media::seconds(joined->duration()) * scale;
    if (scale != 1)
        media_test::scaleWhole(*joined, media::makeTime(std::llround(length * 600), 600));
    const fs::path output = fixtures::test::scratchFolder("joined") / "joined.mov";
    auto written = joined->write(output, {});
    ASSERT_TRUE(written.has_value()) << written.error().message;

    const double frame = 1.0 / 24;
    EXPECT_NEAR(oracle::formatDuration(output), length, frame);
    const auto frames = transcode_test::videoFrameTimes(output);
    // Slowed down, the sources' frames last longer: half a frame at their
    // own fastest rate is the least a frame lasts at any speed.
    const double rate = fastestRate(order);
    for (std::size_t k = 1; k < frames.size() && rate > 0; ++k) {
        EXPECT_GE(frames[k].seconds - frames[k - 1].seconds, 0.5 / rate - 1e-4)
            << "frame at " << frames[k - 1].seconds;
    }
    if (std::ranges::none_of(order, [](std::size_t i) { return kInputs[i].recipe.variableFrameRate; })) {
        EXPECT_EQ(transcode_test::decodeWarnings(output), "");
    }
    std::vector<std::pair<double, double>> silent; // expected silences, adjacent ones merged
    for (std::size_t k = 0; k < segments.size(); ++k) {
        const auto [start, sounds] = segments[k];
        const double end = k + 1 < segments.size() ? segments[k + 1].first : length;
        // The join point lies on the output's frame grid: the frame time
        // nearest the sum of durations (the later one when halfway).
        const double earliest = rate > 0 ? start - 0.5 * std::max(1.0, scale) / rate + 0.0005 : start - 0.002;
        const auto first = std::ranges::find_if(frames, [&](const auto& f) { return f.seconds > earliest; });
        ASSERT_NE(first, frames.end()) << "segment " << k;
        EXPECT_NEAR(first->seconds, start, frame) << "segment " << k;
        EXPECT_TRUE(first->isKey) << "segment " << k << " at " << start << " s, first frame at "
                                  << first->seconds;
        if (!sounds && !silent.empty() && std::abs(silent.back().second - start) < 1e-6)
            silent.back().second = end;
        else if (!sounds)
            silent.emplace_back(start, end);
    }
    if (std::ranges::none_of(segments, [](const auto& s) { return s.second; }))
        return; // a movie without sound
    // Sources' own priming and tails (AVI, MPEG-TS and Matroska do not mark
    // them) are quiet for less than a frame; the movie's end is no join point.
    auto found = transcode_test::silences(output);
    std::erase_if(found, [&](const auto& quiet) {
        return (quiet.end >= 0 && quiet.end - quiet.start < frame) ||
               (quiet.end < 0 && segments.back().second && quiet.start > segments.back().first);
    });
    std::string seen;
    for (const auto& quiet : found)
        seen += " " + std::to_string(quiet.start) + "-" + std::to_string(quiet.end);
    ASSERT_EQ(found.size(), silent.size()) << "silences:" << seen;
    for (std::size_t k = 0; k < found.size(); ++k) {
        EXPECT_NEAR(found[k].start, silent[k].first, frame) << "silence " << k;
        if (silent[k].second < length - frame) {
            EXPECT_NEAR(found[k].end, silent[k].second, frame) << "silence " << k;
        }
    }
}

// Each input between two others, with a silent clip between them so that
// the sound's ends are seen at both join points.
TEST(InputMatrix, JoinsInPairs) {
    ASSERT_EQ(std::string(kInputs[kSilent].file), "no-sound.mp4");
    for (std::size_t i = 0; i < kInputs.size(); ++i) {
        SCOPED_TRACE(kInputs[i].file);
        joinAndCheck({i, kSilent, (i + 1) % kInputs.size()});
    }
}

TEST(InputMatrix, JoinsInOneLongListScaledOrNot) {
    std::vector<std::size_t> all(kInputs.size());
    std::iota(all.begin(), all.end(), 0);
    joinAndCheck(all);
    joinAndCheck(all, 1.25);
}

class ComponentMatrix : public ::testing::TestWithParam<media::ExportComponent> {};

// Every input through the component with its own encoders, and the 29.97 fps
// AVI through each of its other encoders: written and read back with the
// movie's duration, or refused when the component cannot hold the media.
TEST_P(ComponentMatrix, WritesEveryInputWithEveryEncoder) {
    const media::ExportComponent& component = GetParam();
    std::vector<std::pair<std::size_t, media::ExportSettings>> runs;
    for (std::size_t i = 0; i < kInputs.size(); ++i)
        runs.emplace_back(i, media::ExportSettings());
    for (std::size_t k = 1; k < component.videoEncoders.size(); ++k)
        runs.emplace_back(kAvi, media::ExportSettings()).second.videoEncoder = component.videoEncoders[k];
    for (std::size_t k = 1; k < component.audioEncoders.size(); ++k)
        runs.emplace_back(kAvi, media::ExportSettings()).second.audioEncoder = component.audioEncoders[k];
    for (const auto& [i, settings] : runs) {
        SCOPED_TRACE(std::string(kInputs[i].file) + " " + settings.videoEncoder + settings.audioEncoder);
        auto movie = media_test::openMovie(inputFile(i));
        const fs::path output =
            fixtures::test::scratchFolder("exported") / ("exported." + component.extension);
        media::WriteOptions options;
        options.component = component;
        options.exportSettings = settings;
        auto written = movie->write(output, options);
        if ((!component.writesSound && !movie->hasTrackOfType(media::MediaType::Video)) ||
            (!component.writesVideo && !hasSound(kInputs[i]))) {
            EXPECT_FALSE(written.has_value());
            EXPECT_FALSE(fs::exists(output));
            continue;
        }
        ASSERT_TRUE(written.has_value()) << written.error().message;
        // Priming and padding that MP3 and AVI do not mark last up to 0.14 s at 8 kHz.
        EXPECT_NEAR(oracle::formatDuration(output), media::seconds(movie->duration()), 0.3);
    }
}

// MPEG-TS keeps no frame durations: a picture held for five seconds is
// repeated at the output's rate to its end, as a player would show it.
TEST(ComponentMatrixTransportStream, HeldPictureIsRepeatedAtTheRateToItsEnd) {
    const auto components = media::exportComponents();
    const auto ts = std::ranges::find_if(components, [](const auto& c) { return c.extension == "ts"; });
    if (ts == components.end())
        GTEST_SKIP() << "this FFmpeg cannot write MPEG-TS";
    ASSERT_EQ(std::string(kInputs[kPicture].file), "picture.jpg");
    auto movie = media_test::openMovie(inputFile(kPicture));
    const fs::path output = fixtures::test::scratchFolder("held") / "held.ts";
    media::WriteOptions options;
    options.component = *ts;
    ASSERT_TRUE(movie->write(output, options).has_value());
    const auto frames = transcode_test::videoFrameTimes(output);
    const double length = media::seconds(movie->duration());
    ASSERT_GE(frames.size(), 2u);
    const double frame = frames[1].seconds - frames[0].seconds;
    for (std::size_t k = 1; k < frames.size(); ++k)
        ASSERT_NEAR(frames[k].seconds - frames[k - 1].seconds, frame, 0.002) << "frame " << k;
    EXPECT_NEAR(frames.back().seconds - frames.front().seconds, length - frame, 0.002);
}

INSTANTIATE_TEST_SUITE_P(Every, ComponentMatrix, ::testing::ValuesIn(media::exportComponents()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::ranges::replace_if(
                                 name, [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

} // namespace
