// Settings bytes: what is written reads back the same, older versions still
// load, and bytes that are not ours or are damaged are refused, never guessed at.

#include "media/ExportSettings.h"

#include "media/ExportComponent.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

using namespace std::string_literals;

media::ExportSettings everyFieldSet() {
    return {.videoEncoder = "libx264",
            .audioEncoder = "aac",
            .videoBitRate = 2'500'000,
            .quality = 23,
            .width = 640,
            .height = 360,
            .frameRateNum = 30000,
            .frameRateDen = 1001,
            .audioBitRate = 128'000,
            .sampleRate = 48000,
            .channels = 2};
}

media::ExportComponent component(const char* name, std::vector<std::string> videoEncoders,
                                 std::vector<std::string> audioEncoders) {
    media::ExportComponent component;
    component.name = name;
    component.writesVideo = !videoEncoders.empty();
    component.writesSound = !audioEncoders.empty();
    component.videoEncoders = std::move(videoEncoders);
    component.audioEncoders = std::move(audioEncoders);
    return component;
}

TEST(ExportSettingsTest, BytesReadBackAsTheSameSettingsAndVersionOneLoadsWithTheSourcesFrameRate) {
    for (const media::ExportSettings& settings : {media::ExportSettings{}, everyFieldSet()}) {
        const auto decoded = media::decodeExportSettings(media::encodeExportSettings(settings));
        ASSERT_TRUE(decoded.has_value()) << decoded.error().message;
        EXPECT_EQ(*decoded, settings);
    }
    // Version 1, as it was written before frame rates. After the encoder names: 2,000,000 b/s,
    // quality 18, 320x240, 128,000 b/s, 44,100 Hz, 1 channel.
    const auto decoded =
        media::decodeExportSettings(QByteArray::fromStdString("JCxs\0\1\7libx264\3aac"s) +
                                    QByteArray::fromHex("001e8480 12 0140 00f0 0001f400 0000ac44 01"));
    ASSERT_TRUE(decoded.has_value()) << decoded.error().message;
    // No frame rate: the sources' timing is kept.
    EXPECT_EQ(*decoded, (media::ExportSettings{.videoEncoder = "libx264",
                                               .audioEncoder = "aac",
                                               .videoBitRate = 2'000'000,
                                               .quality = 18,
                                               .width = 320,
                                               .height = 240,
                                               .audioBitRate = 128'000,
                                               .sampleRate = 44100,
                                               .channels = 1}));
    // Written again, they become the current version.
    EXPECT_EQ(media::encodeExportSettings(*decoded)[5], static_cast<char>(media::kExportSettingsVersion));
}

TEST(ExportSettingsTest, DamagedOrForeignBytesAreRefused) {
    const QByteArray good = media::encodeExportSettings(everyFieldSet());
    // Every shorter prefix is cut short, and one byte more is one too many.
    for (qsizetype length = 0; length < good.size(); ++length)
        EXPECT_FALSE(media::decodeExportSettings(good.left(length)).has_value()) << length;
    EXPECT_FALSE(media::decodeExportSettings(good + '\0').has_value());
    QByteArray foreign = good;
    foreign[0] = 'X';
    EXPECT_FALSE(media::decodeExportSettings(foreign).has_value());
    QByteArray newer = good;
    newer[5] = static_cast<char>(media::kExportSettingsVersion + 1);
    const auto refused = media::decodeExportSettings(newer);
    ASSERT_FALSE(refused.has_value());
    EXPECT_NE(refused.error().message.find("version"), std::string::npos);
    // Well-formed but impossible: a width without a height, an encoder name with a path in it.
    media::ExportSettings halfSize;
    halfSize.width = 640;
    EXPECT_FALSE(media::decodeExportSettings(media::encodeExportSettings(halfSize)).has_value());
    media::ExportSettings badName;
    badName.videoEncoder = "../x264";
    EXPECT_FALSE(media::decodeExportSettings(media::encodeExportSettings(badName)).has_value());
    // A bit rate beyond what a signed field holds does not come back negative.
    QByteArray huge = good;
    huge.replace(6 + 1 + 7 + 1 + 3, 4, QByteArray::fromHex("ffffffff"));
    EXPECT_FALSE(media::decodeExportSettings(huge).has_value());
}

TEST(ExportSettingsTest, SettingsFromTextFollowWhatTheFormatHolds) {
    media::ExportSettings settings;
    const media::ExportComponent movie = component("Movie", {"libx264", "mpeg4"}, {"aac"});
    for (const auto& [key, value] : {std::pair{"video-codec", "mpeg4"},
                                     {"video-bitrate", "1500k"},
                                     {"size", "320x180"},
                                     {"frame-rate", "30000/1001"},
                                     {"channels", "1"}})
        EXPECT_TRUE(media::setExportSetting(movie, settings, key, value)) << key;
    EXPECT_EQ(std::tie(settings.videoEncoder, settings.videoBitRate, settings.width, settings.frameRateDen),
              std::tuple("mpeg4", 1'500'000, 320, 1001));
    EXPECT_TRUE(media::setExportSetting(movie, settings, "video-codec", "default"));
    EXPECT_EQ(settings.videoEncoder, "");
    const media::ExportSettings before = settings;
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"video-codec", "libvpx"}, // not one this format offers
             {"size", "320"},
             {"size", "0x180"},
             {"frame-rate", "1/0"},
             {"channels", "9"},
             {"quality", "-1"},
             {"colour", "red"}})
        EXPECT_FALSE(media::setExportSetting(movie, settings, key, value)) << key << "=" << value;
    EXPECT_EQ(settings, before);
    // A sound file has no picture to size.
    const media::ExportComponent wave = component("Wave", {}, {"pcm_s16le"});
    EXPECT_FALSE(media::setExportSetting(wave, settings, "size", "320x240"));
    EXPECT_TRUE(media::setExportSetting(wave, settings, "sample-rate", "22050"));
    // The fields read back through setExportSetting as they were.
    media::ExportSettings copy;
    for (const auto& [key, value] : media::exportSettingsFields(everyFieldSet()))
        ASSERT_TRUE(media::setExportSetting(movie, copy, key, value)) << key << "=" << value;
    EXPECT_EQ(copy, everyFieldSet());
}

} // namespace
