#include "media/detail/ExportEncoding.h"

#include <algorithm>

namespace media::detail {

namespace {

// FFmpeg's lambda per quantiser step, for encoders steered by a fixed quantiser.
constexpr int kLambdaPerQuantiser = 118;
constexpr int kMaxQuantiser = 31;

// Encoders without a constant-quality mode of their own get a bit rate that
// looks right at the sizes people export.
int defaultVideoBitRate(const std::string& encoder) {
    if (encoder == "mpeg4" || encoder == "libvpx")
        return 2'000'000;
    if (encoder == "mpeg2video")
        return 4'000'000;
    return 0;
}

int defaultAudioBitRate(const std::string& encoder) {
    if (encoder == "aac" || encoder == "libvorbis")
        return 160'000;
    if (encoder == "libopus")
        return 128'000;
    if (encoder == "libmp3lame" || encoder == "mp2")
        return 192'000;
    return 0; // PCM and lossless encoders have no bit rate to choose
}

void tuneVideo(const ExportSettings& settings, transcode::EncoderSettings& out) {
    const std::string& encoder = out.videoEncoder;
    out.videoBitRate = settings.videoBitRate;
    if (encoder == "libx264") {
        out.crf = settings.quality > 0 ? settings.quality : 20;
    } else if (encoder == "libvpx-vp9") {
        out.crf = settings.quality > 0 ? settings.quality : 32;
        out.videoOptions = {{"cpu-used", "4"}, {"row-mt", "1"}};
    } else if (encoder == "libvpx") {
        // VP8's constrained quality still needs a ceiling bit rate.
        out.crf = settings.quality > 0 ? settings.quality : 10;
        if (out.videoBitRate == 0)
            out.videoBitRate = defaultVideoBitRate(encoder);
        out.videoOptions = {{"cpu-used", "4"}};
    } else if (settings.videoBitRate == 0 && settings.quality > 0 &&
               (encoder == "mpeg4" || encoder == "mpeg2video")) {
        const int quantiser = std::min(settings.quality, kMaxQuantiser);
        out.videoOptions = {{"flags", "+qscale"},
                            {"global_quality", std::to_string(quantiser * kLambdaPerQuantiser)}};
    } else if (out.videoBitRate == 0) {
        out.videoBitRate = defaultVideoBitRate(encoder);
    }
}

} // namespace

std::expected<ExportEncoding, Error> exportEncoding(const ExportComponent& component,
                                                    const ExportSettings& settings, int naturalWidth,
                                                    int naturalHeight) {
    if (auto suits = checkExportSettings(component, settings); !suits)
        return std::unexpected(suits.error());
    ExportEncoding encoding;
    transcode::EncoderSettings& out = encoding.settings;
    out.container = component.container;
    if (component.writesVideo) {
        out.videoEncoder =
            settings.videoEncoder.empty() ? component.videoEncoders.front() : settings.videoEncoder;
        tuneVideo(settings, out);
        out.frameRateNum = settings.frameRateNum;
        out.frameRateDen = settings.frameRateDen;
        if (naturalWidth > 0 && naturalHeight > 0) {
            encoding.width = settings.width > 0 ? settings.width : naturalWidth;
            encoding.height = settings.height > 0 ? settings.height : naturalHeight;
        }
    }
    if (component.writesSound) {
        out.audioEncoder =
            settings.audioEncoder.empty() ? component.audioEncoders.front() : settings.audioEncoder;
        out.audioBitRate =
            settings.audioBitRate > 0 ? settings.audioBitRate : defaultAudioBitRate(out.audioEncoder);
        out.sampleRate = settings.sampleRate;
        out.channels = settings.channels;
    }
    return encoding;
}

} // namespace media::detail
