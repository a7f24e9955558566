#pragma once

// Private to src/media: a still picture held in memory as the bytes of an
// image file (TIFF, PNG, JPEG, ... whatever FFmpeg's image readers know),
// decoded to one frame.

#include "media/detail/FFmpeg.h"

#include <QByteArray>
#include <expected>

namespace media::detail {

// The first frame of the picture, in the decoder's own pixel format.
[[nodiscard]] std::expected<FramePtr, Error> decodePicture(const QByteArray& imageFileBytes);

} // namespace media::detail
