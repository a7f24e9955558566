#pragma once

// Private to src/media: fits decoded frames of one source stream to the output
// picture: turned upright, scaled to fit the output size with their display
// aspect ratio kept, centred on black, in the encoder's pixel format.

#include "media/detail/FFmpeg.h"
#include "media/detail/FilterLibrary.h"
#include "media/transcode/VideoEncoder.h"

#include <expected>
#include <filesystem>

namespace media::transcode {

// Where a picture of display size `width` x `height` lands in the output: the
// largest size that fits with the same aspect ratio, centred, in whole chroma samples.
struct FitRectangle final {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const FitRectangle&, const FitRectangle&) = default;
};
FitRectangle fitRectangle(double width, double height, const VideoFormat& output);

class VideoFitter final {
public:
    // `clockwiseRotation`: 0, 90, 180 or 270 degrees; `sampleAspect`: the
    // stream's pixel aspect ratio, used where frames do not carry their own.
    VideoFitter(const VideoFormat& output, int clockwiseRotation, AVRational sampleAspect,
                std::filesystem::path file);
    VideoFitter(const VideoFitter&) = delete;
    VideoFitter& operator=(const VideoFitter&) = delete;
    ~VideoFitter();

    // The frame as the output shows it. The graph is made again whenever the
    // frames change size or pixel format midway.
    [[nodiscard]] std::expected<detail::FramePtr, Error> fit(detail::FramePtr frame);

private:
    struct InputShape final {
        int width = 0;
        int height = 0;
        int format = -1;
        AVRational aspect{0, 1};
        friend bool operator==(const InputShape& a, const InputShape& b) {
            return a.width == b.width && a.height == b.height && a.format == b.format &&
                   av_cmp_q(a.aspect, b.aspect) == 0;
        }
    };
    [[nodiscard]] std::expected<void, Error> build(const InputShape& shape);
    Error error(int code, const std::string& what) const;

    VideoFormat m_output;
    int m_rotation = 0;
    AVRational m_sampleAspect{1, 1};
    std::filesystem::path m_file;
    InputShape m_shape;
    detail::FilterChain m_chain;
};

} // namespace media::transcode
