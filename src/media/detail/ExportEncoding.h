#pragma once

// Private to src/media: what the transcoding writer does for an export
// component and its settings.

#include "media/ExportComponent.h"
#include "media/transcode/TranscodeJoin.h"

namespace media::detail {

struct ExportEncoding final {
    transcode::EncoderSettings settings;
    int width = 0; // 0 x 0: no video written
    int height = 0;
};

// The encoders and their tuning for the component with the settings, and the
// output size for a movie of `naturalWidth` x `naturalHeight` (0 x 0: none).
[[nodiscard]] std::expected<ExportEncoding, Error> exportEncoding(const ExportComponent& component,
                                                                  const ExportSettings& settings,
                                                                  int naturalWidth, int naturalHeight);

} // namespace media::detail
