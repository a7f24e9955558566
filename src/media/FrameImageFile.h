#pragma once

#include "media/Error.h"

#include <QImage>
#include <expected>
#include <filesystem>
#include <optional>

namespace media {

// The picture file formats a frame is saved in, numbered as the
// "saveFrameFormat" preference numbers them.
enum class FrameImageFormat { Tiff = 0, Bmp = 1, Gif = 2, Jpeg = 3, Png = 4, Jpeg2000 = 5 };

struct FrameImageOptions final {
    FrameImageFormat format = FrameImageFormat::Tiff;
    bool tiffLzw = true; // TIFF only: LZW compression, else none
    double quality = 1.0; // JPEG and JPEG 2000: 0 (smallest) to 1 (best)
};

// The format a preference value names; none outside 0 to 5.
std::optional<FrameImageFormat> frameImageFormat(int value);
// The format an extension names ("tif", "tiff", "bmp", "gif", "jpg", "jpeg", "png", "jp2").
std::optional<FrameImageFormat> frameImageFormatForExtension(const std::string& extension);
// The extension a save panel requires for the format: "tif", "bmp", "gif", "jpg", "png", "jp2".
const char* frameImageExtension(FrameImageFormat format);

// Encodes `image` in the format with its options and writes it atomically to `destination`.
[[nodiscard]] std::expected<void, Error> writeFrameImage(const QImage& image,
                                                         const std::filesystem::path& destination,
                                                         const FrameImageOptions& options);

} // namespace media
