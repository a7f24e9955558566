#pragma once

// The settings of an export component, and their bytes: our own versioned
// block (magic, version, fields), kept opaque by the rest of the application
// and stored in the preferences and in settings files.

#include "media/Error.h"

#include <QByteArray>
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace media {

struct ExportComponent;

// Zero (or empty) always means "the component's own choice".
struct ExportSettings final {
    std::string videoEncoder; // FFmpeg encoder name, one the component offers
    std::string audioEncoder;
    int videoBitRate = 0; // bits per second; 0: constant quality
    int quality = 0;      // constant-quality level of the encoder (x264/VP9 crf); lower is better
    int width = 0;        // output size; 0 x 0: the movie's natural size
    int height = 0;
    int frameRateNum = 0; // fixed output frame rate; 0: the sources' timing is kept
    int frameRateDen = 0;
    int audioBitRate = 0; // bits per second
    int sampleRate = 0;   // 0: the highest of the sources
    int channels = 0;     // 0: as the sources, at most 2
    friend bool operator==(const ExportSettings&, const ExportSettings&) = default;
};

// The version encodeExportSettings writes. Version 1 had no frame rate.
inline constexpr std::uint16_t kExportSettingsVersion = 2;
inline constexpr int kMaxExportDimension = 16384;

QByteArray encodeExportSettings(const ExportSettings& settings);
// Reads bytes of any version up to kExportSettingsVersion. Refuses bytes that
// are not ours, of a newer version, cut short, longer than their fields, or
// holding a value no component could use.
[[nodiscard]] std::expected<ExportSettings, Error> decodeExportSettings(const QByteArray& bytes);

// Sets one field from text, as a person types it, for the component:
//   video-codec, audio-codec   an encoder the component offers ("default": its own)
//   video-bitrate, audio-bitrate  bits per second, with an optional k or M
//   quality                    constant-quality level, 0 to 63
//   size                       WIDTHxHEIGHT, or "natural"
//   frame-rate                 N or N/D, or "source"
//   sample-rate, channels      numbers, 0 for the sources'
// Refuses unknown keys, bad values and video keys for a sound-only component
// (and sound keys for a picture-only one); `settings` is unchanged then.
[[nodiscard]] std::expected<void, Error> setExportSetting(const ExportComponent& component,
                                                          ExportSettings& settings, std::string_view key,
                                                          std::string_view value);

// Every field as key and text (the inverse of setExportSetting), for people.
std::vector<std::pair<std::string, std::string>> exportSettingsFields(const ExportSettings& settings);

} // namespace media
