#pragma once

// Export components: the output formats this build of FFmpeg can really
// write, each with the encoders it offers, discovered at run time.

#include "media/ExportSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace media {

// A four-character code, the first letter in the high byte.
using FourCharCode = std::uint32_t;

constexpr FourCharCode makeFourCharCode(const char (&text)[5]) {
    return (FourCharCode(std::uint8_t(text[0])) << 24) | (FourCharCode(std::uint8_t(text[1])) << 16) |
           (FourCharCode(std::uint8_t(text[2])) << 8) | FourCharCode(std::uint8_t(text[3]));
}

// The code's letters; zero bytes are left out (a code of 0 is the empty text).
std::string fourCharCodeText(FourCharCode code);

inline constexpr FourCharCode kExportComponentType = makeFourCharCode("spit");
// The maker of every component we discover: FFmpeg.
inline constexpr FourCharCode kFFmpegManufacturer = makeFourCharCode("FFmp");

struct ExportComponent final {
    std::string name;      // e.g. "QuickTime Movie"
    std::string info;      // one sentence on what it writes
    std::string extension; // file name extension without the dot
    FourCharCode subtype = 0;
    FourCharCode manufacturer = 0;
    bool hasSettingsDialog = true;
    std::string container; // FFmpeg muxer
    bool writesVideo = false;
    bool writesSound = false;
    bool hasChapters = false; // chapters as the container keeps them
    // Encoders the container can hold and FFmpeg has, the default first.
    std::vector<std::string> videoEncoders;
    std::vector<std::string> audioEncoders;
};

// Every component of this build, in a fixed order; found once per process.
const std::vector<ExportComponent>& exportComponents();
[[nodiscard]] std::optional<ExportComponent> findExportComponent(FourCharCode subtype,
                                                                 FourCharCode manufacturer);

// Whether the settings suit the component: its encoders, and no size or frame
// rate for a sound-only one. A reason for people when not.
[[nodiscard]] std::expected<void, Error> checkExportSettings(const ExportComponent& component,
                                                             const ExportSettings& settings);

} // namespace media
