#include "media/filters/FilteredMovie.h"

#include "media/detail/SourceFile.h"
#include "media/filters/detail/RenderChain.h"
#include "media/transcode/StreamDecoder.h"

#include <cerrno>
#include <deque>

namespace media::filters {

using namespace media::detail;
using media::transcode::StreamDecoder;

struct FilteredFrameReader::State final {
    std::filesystem::path file;
    std::shared_ptr<SourceFile> source;
    const AVStream* stream = nullptr;
    std::optional<StreamDecoder> decoder;
    filters::detail::RenderChain chain;
    ScalerPtr scaler;
    PacketPtr packet{av_packet_alloc()};
    std::deque<FramePtr> decoded;
    bool ended = false;
    std::int64_t skipBefore = AV_NOPTS_VALUE; // after a seek: frames that end before this are passed over
    std::int64_t origin = 0;                  // the movie's start, in the stream's units

    [[nodiscard]] std::expected<void, Error> readMore();
    [[nodiscard]] std::expected<QImage, Error> filtered(FramePtr frame);
    std::int64_t frameDuration(const AVFrame& frame) const {
        if (frame.pkt_duration > 0)
            return frame.pkt_duration;
        const AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : AVRational{25, 1};
        return std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), stream->time_base));
    }
};

std::expected<void, Error> FilteredFrameReader::State::readMore() {
    auto keep = [&](FramePtr frame) -> std::expected<void, Error> {
        const std::int64_t timestamp = frame->best_effort_timestamp;
        if (timestamp == AV_NOPTS_VALUE)
            return {};
        if (skipBefore != AV_NOPTS_VALUE && timestamp + frameDuration(*frame) <= skipBefore)
            return {};
        decoded.push_back(std::move(frame));
        return {};
    };
    while (decoded.empty() && !ended) {
        const int status = av_read_frame(source->format(), packet.get());
        if (status == errorEndOfFile()) {
            ended = true;
            return decoder->decode(nullptr, keep);
        }
        if (status < 0)
            return std::unexpected(makeError(status, "cannot read " + file.filename().string()));
        std::expected<void, Error> taken;
        if (packet->stream_index == stream->index)
            taken = decoder->decode(packet.get(), keep);
        av_packet_unref(packet.get());
        if (!taken)
            return taken;
    }
    return {};
}

std::expected<QImage, Error> FilteredFrameReader::State::filtered(FramePtr frame) {
    auto done = chain.apply(std::move(frame), stream->time_base);
    if (!done)
        return std::unexpected(done.error());
    const AVFrame& picture = **done;
    scaler.reset(sws_getCachedContext(scaler.release(), picture.width, picture.height,
                                      static_cast<AVPixelFormat>(picture.format), picture.width, picture.height,
                                      AV_PIX_FMT_RGB32, SWS_BICUBIC | SWS_ACCURATE_RND | SWS_FULL_CHR_H_INT, nullptr,
                                      nullptr, nullptr));
    if (!scaler)
        return std::unexpected(Error{EINVAL, "cannot convert the frame for showing"});
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    if (image.isNull())
        return std::unexpected(Error{ENOMEM, "out of memory"});
    std::uint8_t* planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int strides[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    sws_scale(scaler.get(), picture.data, picture.linesize, 0, picture.height, planes, strides);
    return image;
}

FilteredFrameReader::FilteredFrameReader(std::unique_ptr<State> state) : m_state(std::move(state)) {}
FilteredFrameReader::~FilteredFrameReader() = default;

std::expected<std::unique_ptr<FilteredFrameReader>, Error> FilteredFrameReader::open(const std::filesystem::path& file) {
    configureLogging();
    auto state = std::make_unique<State>();
    state->file = file;
    auto source = SourceFile::open(file, SourceFile::Depth::StreamInfo);
    if (!source)
        return std::unexpected(source.error());
    state->source = std::move(*source);
    AVFormatContext* format = state->source->format();
    const int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video < 0)
        return std::unexpected(Error{EINVAL, file.filename().string() + " has no picture to filter"});
    state->stream = format->streams[video];
    auto decoder = StreamDecoder::open(state->stream, file);
    if (!decoder)
        return std::unexpected(decoder.error());
    state->decoder.emplace(std::move(*decoder));
    if (!state->packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    if (format->start_time != AV_NOPTS_VALUE)
        state->origin = av_rescale_q(format->start_time, AV_TIME_BASE_Q, state->stream->time_base);
    return std::unique_ptr<FilteredFrameReader>(new FilteredFrameReader(std::move(state)));
}

void FilteredFrameReader::setFilters(const QStringList& identifiers) {
    m_state->chain.setFilters(identifiers);
}

double FilteredFrameReader::duration() const {
    const AVFormatContext* format = m_state->source->format();
    return format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
}

std::expected<void, Error> FilteredFrameReader::seek(double seconds) {
    State& state = *m_state;
    const std::int64_t target =
        state.origin + av_rescale_q(static_cast<std::int64_t>(seconds * AV_TIME_BASE), AV_TIME_BASE_Q, state.stream->time_base);
    if (const int status = av_seek_frame(state.source->format(), state.stream->index, target, AVSEEK_FLAG_BACKWARD);
        status < 0)
        return std::unexpected(makeError(status, "cannot go to that time in " + state.file.filename().string()));
    // The decoder forgets what it held; the next frame read is the one shown at the target.
    auto reopened = StreamDecoder::open(state.stream, state.file);
    if (!reopened)
        return std::unexpected(reopened.error());
    state.decoder.emplace(std::move(*reopened));
    state.decoded.clear();
    state.ended = false;
    state.skipBefore = target;
    return {};
}

std::expected<std::optional<FilteredFrameReader::Frame>, Error> FilteredFrameReader::next() {
    State& state = *m_state;
    if (auto read = state.readMore(); !read)
        return std::unexpected(read.error());
    if (state.decoded.empty())
        return std::optional<Frame>();
    FramePtr frame = std::move(state.decoded.front());
    state.decoded.pop_front();
    const double seconds = double(frame->best_effort_timestamp - state.origin) * av_q2d(state.stream->time_base);
    auto image = state.filtered(std::move(frame));
    if (!image)
        return std::unexpected(image.error());
    return std::optional<Frame>(Frame{std::move(*image), seconds});
}

} // namespace media::filters
