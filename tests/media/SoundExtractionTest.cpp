// The sound of a movie as 16-bit big-endian AIFF: equal sample for sample to
// what ffmpeg decodes and converts to 16 bits, read back by ffprobe; the
// AAC and 8-bit copies; a cancel leaves no file.

#include "RunProgram.h"
#include "SharedClips.h"
#include "media/SoundExtraction.h"

#include <QFile>
#include <QString>
#include <gtest/gtest.h>

namespace {

// The samples of the file's first sound stream as 16-bit little-endian, by ffmpeg.
QByteArray decodedSamples(const std::filesystem::path& file) {
    return oracle::runProgram("ffmpeg", {"-v", "error", "-i", QString::fromStdString(file.string()), "-map",
                                         "0:a:0", "-f", "s16le", "-acodec", "pcm_s16le", "-"})
        .out;
}

// The file's first two sound streams summed by ffmpeg, as 16-bit little-endian.
QByteArray mixedSamples(const std::filesystem::path& file) {
    return oracle::runProgram("ffmpeg", {"-v", "error", "-i", QString::fromStdString(file.string()),
                                         "-filter_complex", "[0:a:0][0:a:1]amix=inputs=2:normalize=0", "-f",
                                         "s16le", "-acodec", "pcm_s16le", "-"})
        .out;
}

// A movie with two AAC sound tracks of a second, each a tone of its own;
// the second is enabled beside the first only when asked.
std::filesystem::path twoSoundTracks(const std::string& name, bool bothEnabled, int secondRate, int secondChannels) {
    return fixtures::makeSoundTracks(fixtures::test::scratchFolder("sound-mix"), name, 1.0,
                                     {{44100, 2, 440.0, true}, {secondRate, secondChannels, 660.0, bothEnabled}});
}

QString probe(const std::filesystem::path& file, const QString& entries) {
    return QString::fromUtf8(oracle::runProgram("ffprobe", {"-v", "error", "-show_entries", entries, "-of",
                                                            "default=nw=1:nk=1", QString::fromStdString(file.string())})
                                 .out)
        .trimmed();
}

TEST(SoundExtractionTest, AiffHoldsTheMovieSoundSampleForSampleAndItsCopies) {
    // AAC in a movie (decoded, with its priming dropped) and 16-bit PCM as it is.
    const auto movie = fixtures::test::sharedClip("sound-source.mov", {.container = "mov", .frames = 60});
    const auto folder = fixtures::test::scratchFolder("sound");
    const auto aiff = folder / "sound.aiff";
    std::vector<double> fractions;
    const auto extracted = media::extractSoundToAiff(movie, aiff, [&](double fraction) {
        fractions.push_back(fraction);
        return true;
    });
    ASSERT_TRUE(extracted.has_value()) << extracted.error().message;
    EXPECT_EQ(extracted->sampleRate, 44100);
    EXPECT_EQ(extracted->channels, 2);
    EXPECT_EQ(probe(aiff, "stream=codec_name,sample_rate,channels"), "pcm_s16be\n44100\n2");
    const QByteArray expected = decodedSamples(movie);
    ASSERT_GT(expected.size(), 44100 * 4);
    EXPECT_EQ(decodedSamples(aiff), expected);
    // One question before each step of at most 4096 frames, and one at the end.
    const auto frames = expected.size() / 4;
    EXPECT_EQ(static_cast<qsizetype>(fractions.size()), (frames + 4095) / 4096 + 1);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));

    const auto caf = media::makeSoundCopy(aiff, media::SoundCopy::CoreAudioAac);
    ASSERT_TRUE(caf.has_value()) << caf.error().message;
    EXPECT_EQ(*caf, folder / "sound.caf");
    EXPECT_EQ(probe(*caf, "format=format_name:stream=codec_name,sample_rate,channels"), "aac\n44100\n2\ncaf");
    const auto wav = media::makeSoundCopy(aiff, media::SoundCopy::WaveUnsigned8);
    ASSERT_TRUE(wav.has_value()) << wav.error().message;
    EXPECT_EQ(probe(*wav, "format=format_name:stream=codec_name,sample_rate,channels"), "pcm_u8\n44100\n2\nwav");
}

TEST(SoundExtractionTest, EnabledSoundTracksAreMixedAsTheyArePlayed) {
    const auto folder = fixtures::test::scratchFolder("sound-mix-out");
    // Two enabled tracks of one shape: their sum, sample for sample.
    const auto both = twoSoundTracks("both.mov", true, 44100, 2);
    const auto bothAiff = folder / "both.aiff";
    ASSERT_TRUE(media::extractSoundToAiff(both, bothAiff).has_value());
    const QByteArray mixed = mixedSamples(both);
    ASSERT_GT(mixed.size(), 40000 * 4);
    EXPECT_EQ(decodedSamples(bothAiff), mixed);
    EXPECT_NE(mixed, decodedSamples(both));

    // A track that is not enabled is not heard.
    const auto one = twoSoundTracks("one.mov", false, 44100, 2);
    const auto oneAiff = folder / "one.aiff";
    ASSERT_TRUE(media::extractSoundToAiff(one, oneAiff).has_value());
    EXPECT_EQ(decodedSamples(oneAiff), decodedSamples(one));

    // Tracks of other shapes: the mix takes the highest rate and the most channels.
    const auto shapes = twoSoundTracks("shapes.mov", true, 22050, 1);
    const auto shapesAiff = folder / "shapes.aiff";
    const auto extracted = media::extractSoundToAiff(shapes, shapesAiff);
    ASSERT_TRUE(extracted.has_value()) << extracted.error().message;
    EXPECT_EQ(extracted->sampleRate, 44100);
    EXPECT_EQ(extracted->channels, 2);
    EXPECT_NEAR(static_cast<double>(extracted->frames), 44100, 2048);
    EXPECT_EQ(probe(shapesAiff, "stream=sample_rate,channels"), "44100\n2");
}

TEST(SoundExtractionTest, CancelOrFailureLeavesNoFileAndKeepsTheOldOne) {
    const auto movie = fixtures::test::sharedClip("sound-source.mov", {.container = "mov", .frames = 60});
    const auto folder = fixtures::test::scratchFolder("sound-cancel");
    const auto aiff = folder / "sound.aiff";
    int asked = 0;
    const auto cancelled = media::extractSoundToAiff(movie, aiff, [&](double) { return ++asked < 5; });
    ASSERT_FALSE(cancelled.has_value());
    EXPECT_EQ(cancelled.error().code, ECANCELED);
    EXPECT_TRUE(std::filesystem::is_empty(folder));

    // A movie without sound fails and leaves an existing file as it was.
    QFile old(QString::fromStdString(aiff.string()));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    const auto silent = fixtures::test::standardSet().videoOnlyMp4;
    EXPECT_FALSE(media::extractSoundToAiff(silent, aiff).has_value());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

} // namespace
