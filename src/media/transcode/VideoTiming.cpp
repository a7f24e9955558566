#include "media/transcode/VideoTiming.h"

#include <cstdint>
#include <string_view>

namespace media::transcode {

namespace {

// MPEG-4 Part 2 and H.263 write their clock's resolution in 16 bits.
constexpr int kLargest16BitClock = 65535;
// Divides the frame times of 24, 25, 30, 50 and 60 fps and of 30000/1001 and 60000/1001.
constexpr int kFine16BitClock = 60000;
constexpr AVRational kShortestGifFrame{1, 50};

bool countsTimeIn16Bits(AVCodecID codec) {
    return codec == AV_CODEC_ID_MPEG4 || codec == AV_CODEC_ID_H263 || codec == AV_CODEC_ID_H263P ||
           codec == AV_CODEC_ID_FLV1;
}

// One tick per frame (a rate given as 2997/100 becomes 100/2997), in terms no larger than `largest`.
AVRational tickOf(AVRational rate, int largest) {
    AVRational tick{};
    av_reduce(&tick.num, &tick.den, rate.den, rate.num, largest);
    return tick;
}

} // namespace

VideoTiming chooseVideoTiming(const EncoderSettings& settings, AVRational sourceTimeBase,
                              AVRational sourceRate) {
    VideoTiming timing{sourceTimeBase, sourceRate, false};
    if (settings.frameRateNum > 0 && settings.frameRateDen > 0) {
        timing.frameRate = AVRational{settings.frameRateNum, settings.frameRateDen};
        timing.constantRate = true;
    }
    const AVCodec* codec = avcodec_find_encoder_by_name(settings.videoEncoder.c_str());
    const AVOutputFormat* container = av_guess_format(settings.container.c_str(), nullptr, nullptr);
    if (codec && codec->supported_framerates) {
        const int nearest = av_find_nearest_q_idx(timing.frameRate, codec->supported_framerates);
        timing.frameRate = codec->supported_framerates[nearest];
        timing.constantRate = true;
    }
    const std::string_view format = container ? container->name : "";
    // AVI keeps no times: each frame lasts one tick of the stream's rate.
    if (format == "avi")
        timing.constantRate = true;
    const bool sixteenBitClock = codec && countsTimeIn16Bits(codec->id);
    if (timing.constantRate) {
        timing.timeBase = tickOf(timing.frameRate, sixteenBitClock ? kLargest16BitClock : INT32_MAX);
    } else if (format == "gif") {
        // GIF counts hundredths, and players show a frame of less than two for ten.
        timing.timeBase = kShortestGifFrame;
    } else if (sixteenBitClock && timing.timeBase.den > kLargest16BitClock) {
        timing.timeBase = AVRational{1, kFine16BitClock};
    }
    return timing;
}

} // namespace media::transcode
