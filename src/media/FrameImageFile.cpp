#include "media/FrameImageFile.h"

#include "media/detail/FFmpeg.h"
#include "media/detail/TemporaryFile.h"
#include "media/detail/WriteAllAt.h"

extern "C" {
#include <libavutil/opt.h>
}

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <utility>

namespace media {

namespace {

using detail::makeError;

// The extensions of each format, the one it is written with first.
constexpr std::pair<const char*, FrameImageFormat> kExtensions[] = {
    {"tif", FrameImageFormat::Tiff}, {"tiff", FrameImageFormat::Tiff}, {"bmp", FrameImageFormat::Bmp},
    {"gif", FrameImageFormat::Gif},  {"jpg", FrameImageFormat::Jpeg},  {"jpeg", FrameImageFormat::Jpeg},
    {"png", FrameImageFormat::Png},  {"jp2", FrameImageFormat::Jpeg2000}};

struct Encoding final {
    const char* encoder;
    AVPixelFormat pixelFormat;
};

Encoding encodingOf(FrameImageFormat format) {
    switch (format) {
    case FrameImageFormat::Tiff:
        return {"tiff", AV_PIX_FMT_RGB24};
    case FrameImageFormat::Bmp:
        return {"bmp", AV_PIX_FMT_BGR24};
    case FrameImageFormat::Gif:
        return {"gif", AV_PIX_FMT_PAL8};
    case FrameImageFormat::Jpeg:
        return {"mjpeg", AV_PIX_FMT_YUVJ444P};
    case FrameImageFormat::Png:
        return {"png", AV_PIX_FMT_RGB24};
    case FrameImageFormat::Jpeg2000:
        break;
    }
    return {"jpeg2000", AV_PIX_FMT_RGB24};
}

// The encoder's quantiser for a quality factor: 1 (best) to 31.
int quantiser(double quality) {
    return 1 + static_cast<int>(std::lround((1.0 - std::clamp(quality, 0.0, 1.0)) * 30));
}

// The frame to encode: the image's pixels in the encoder's format. GIF
// takes a palette of the image's own colours, which Qt picks and dithers.
std::expected<detail::FramePtr, Error> frameOf(const QImage& image, AVPixelFormat format) {
    detail::FramePtr frame(av_frame_alloc());
    if (!frame)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    frame->width = image.width();
    frame->height = image.height();
    frame->format = format;
    if (const int status = av_frame_get_buffer(frame.get(), 0); status < 0)
        return std::unexpected(makeError(status, "out of memory"));
    if (format == AV_PIX_FMT_PAL8) {
        const QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        for (int row = 0; row < indexed.height(); ++row)
            std::memcpy(frame->data[0] + row * frame->linesize[0], indexed.constScanLine(row),
                        static_cast<std::size_t>(indexed.width()));
        auto* palette = reinterpret_cast<std::uint32_t*>(frame->data[1]);
        std::fill(palette, palette + 256, 0xFF000000u);
        const QList<QRgb> colours = indexed.colorTable();
        for (qsizetype i = 0; i < colours.size() && i < 256; ++i)
            palette[i] = colours[i] | 0xFF000000u;
        return frame;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    detail::ScalerPtr scaler(sws_getContext(rgb.width(), rgb.height(), AV_PIX_FMT_RGB24, rgb.width(), rgb.height(),
                                            format, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr,
                                            nullptr, nullptr));
    if (!scaler)
        return std::unexpected(Error{EINVAL, "cannot convert the picture"});
    const std::array<const std::uint8_t*, 1> source{rgb.constBits()};
    const std::array<int, 1> stride{static_cast<int>(rgb.bytesPerLine())};
    sws_scale(scaler.get(), source.data(), stride.data(), 0, rgb.height(), frame->data, frame->linesize);
    return frame;
}

} // namespace

std::optional<FrameImageFormat> frameImageFormat(int value) {
    if (value < 0 || value > 5)
        return std::nullopt;
    return static_cast<FrameImageFormat>(value);
}

std::optional<FrameImageFormat> frameImageFormatForExtension(const std::string& extension) {
    std::string lower = extension;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const auto& [name, format] : kExtensions)
        if (lower == name)
            return format;
    return std::nullopt;
}

const char* frameImageExtension(FrameImageFormat format) {
    for (const auto& [name, named] : kExtensions)
        if (named == format)
            return name;
    return "";
}

std::expected<void, Error> writeFrameImage(const QImage& image, const std::filesystem::path& destination,
                                           const FrameImageOptions& options) {
    detail::configureLogging();
    if (image.isNull())
        return std::unexpected(Error{EINVAL, "there is no picture to save"});
    const Encoding encoding = encodingOf(options.format);
    auto made = detail::encoderContextNamed(encoding.encoder);
    if (!made)
        return std::unexpected(made.error());
    const detail::CodecContextPtr encoder = std::move(*made);
    encoder->width = image.width();
    encoder->height = image.height();
    encoder->pix_fmt = encoding.pixelFormat;
    encoder->time_base = AVRational{1, 25};
    encoder->color_range = AVCOL_RANGE_JPEG;
    AVDictionary* settings = nullptr;
    const bool quantised = options.format == FrameImageFormat::Jpeg || options.format == FrameImageFormat::Jpeg2000;
    if (options.format == FrameImageFormat::Tiff)
        av_dict_set(&settings, "compression_algo", options.tiffLzw ? "lzw" : "raw", 0);
    if (options.format == FrameImageFormat::Jpeg2000) {
        // The best quality takes the reversible transform, which loses least.
        av_dict_set(&settings, "pred", options.quality >= 1.0 ? "dwt53" : "dwt97int", 0);
    }
    if (quantised) {
        encoder->flags |= AV_CODEC_FLAG_QSCALE;
        encoder->global_quality = quantiser(options.quality) * FF_QP2LAMBDA;
    }
    detail::DictionaryPtr owned(settings);
    AVDictionary* given = owned.release();
    const int opened = avcodec_open2(encoder.get(), encoder->codec, &given);
    owned.reset(given);
    if (opened < 0)
        return std::unexpected(makeError(opened, "cannot encode the picture"));

    auto frame = frameOf(image, encoding.pixelFormat);
    if (!frame)
        return std::unexpected(frame.error());
    (*frame)->pts = 0;
    if (quantised)
        (*frame)->quality = encoder->global_quality;
    detail::PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    if (const int status = avcodec_send_frame(encoder.get(), frame->get()); status < 0)
        return std::unexpected(makeError(status, "cannot encode the picture"));
    avcodec_send_frame(encoder.get(), nullptr);
    if (const int status = avcodec_receive_packet(encoder.get(), packet.get()); status < 0)
        return std::unexpected(makeError(status, "cannot encode the picture"));

    auto file = detail::TemporaryFile::create(destination);
    if (!file)
        return std::unexpected(file.error());
    if (auto written = detail::writeAllAt(file->fd(), {packet->data, static_cast<std::size_t>(packet->size)}, 0);
        !written)
        return std::unexpected(
            Error{written.error(), std::string("cannot write the picture: ") + std::strerror(written.error())});
    return file->commit();
}

} // namespace media
