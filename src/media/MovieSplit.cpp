#include "media/MovieSplit.h"

#include "media/detail/FFmpeg.h"
#include "media/split/SegmentEncoder.h"
#include "media/split/SplitOutput.h"

#include <algorithm>
#include <limits>

namespace media {

namespace {

using detail::makeError;
using split::SplitOutput;

constexpr std::int64_t kNoTime = std::numeric_limits<std::int64_t>::max();

std::int64_t presentationTime(const AVPacket& packet) {
    return packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
}

// A cut in the time base of the stream that decides it (the video's, else microseconds).
struct Cut final {
    std::int64_t at = 0;
    AVRational timeBase{1, AV_TIME_BASE};
};

// Where a cut falls for the pictures: at the start of the frame shown at the
// cut's time, so that frame begins the next piece. A cut before the first
// frame or after the last one's end stays where it is.
std::expected<std::int64_t, Error> snapToFrame(AVFormatContext& input, int video, std::int64_t at) {
    const AVStream& stream = *input.streams[video];
    const AVRational rate = stream.avg_frame_rate.num > 0 ? stream.avg_frame_rate : stream.r_frame_rate;
    // How long a frame lasts when its packet does not say.
    const std::int64_t frameDuration =
        rate.num > 0 ? std::max<std::int64_t>(1, av_rescale_q(1, av_inv_q(rate), stream.time_base)) : 1;
    std::int64_t seekTo = at;
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (av_seek_frame(&input, video, seekTo, AVSEEK_FLAG_BACKWARD) < 0)
            av_seek_frame(&input, video, stream.start_time == AV_NOPTS_VALUE ? 0 : stream.start_time,
                          AVSEEK_FLAG_BACKWARD);
        detail::PacketPtr packet(av_packet_alloc());
        if (!packet)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        std::int64_t best = kNoTime;
        std::int64_t bestEnd = kNoTime;
        bool first = true;
        bool keyFrameAfter = false;
        bool startsLate = false;
        while (av_read_frame(&input, packet.get()) >= 0) {
            if (packet->stream_index == video && presentationTime(*packet) != AV_NOPTS_VALUE) {
                const std::int64_t pts = presentationTime(*packet);
                const bool key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
                if (first && pts > at && packet->dts != AV_NOPTS_VALUE &&
                    (stream.start_time == AV_NOPTS_VALUE || packet->dts > stream.start_time)) {
                    // Seeking went by decode times and found a key frame shown after the cut.
                    startsLate = true;
                    seekTo = packet->dts - 1 - (pts - packet->dts);
                    av_packet_unref(packet.get());
                    break;
                }
                first = false;
                if (pts <= at && (best == kNoTime || pts > best)) {
                    best = pts;
                    bestEnd = pts + (packet->duration > 0 ? packet->duration : frameDuration);
                }
                if (key && pts > at) {
                    keyFrameAfter = true;
                    av_packet_unref(packet.get());
                    break;
                }
            }
            av_packet_unref(packet.get());
        }
        if (startsLate)
            continue;
        if (best == kNoTime)
            return at;
        // At the end of the movie: a cut past the last frame's end cuts after it.
        if (!keyFrameAfter && bestEnd <= at)
            return at;
        return best;
    }
    return at;
}

// The packets of one group of pictures, from a key frame to the next, in decode order.
using Group = std::vector<detail::PacketPtr>;

class Splitter final {
public:
    Splitter(AVFormatContext& input, int video, std::vector<Cut> cuts, std::vector<SplitOutput>& pieces,
             const std::function<bool(double)>& progress)
        : m_input(input), m_video(video), m_cuts(std::move(cuts)), m_pieces(pieces), m_progress(progress),
          m_lastSound(input.nb_streams) {}

    std::expected<void, Error> run();

private:
    // The piece a packet of `stream` at `pts` belongs to.
    std::size_t pieceOf(std::int64_t pts, AVRational timeBase) const;
    std::int64_t originOf(std::size_t piece, AVRational timeBase) const;
    std::expected<void, Error> write(std::size_t piece, int stream, AVPacket& packet);
    std::expected<void, Error> routeOther(AVPacket& packet);
    std::expected<void, Error> flushGroup(std::int64_t end);
    std::expected<std::vector<detail::FramePtr>, Error> decodeGroup();
    std::expected<void, Error> encode(std::size_t piece, const std::vector<const AVFrame*>& frames,
                                      std::int64_t end, std::int64_t decodeDelay);

    AVFormatContext& m_input;
    int m_video;
    std::vector<Cut> m_cuts;
    std::vector<SplitOutput>& m_pieces;
    const std::function<bool(double)>& m_progress;
    Group m_group;
    // The sound packet before the one being routed, per stream: a piece's
    // sound starts with it, hidden before time zero, so the decoder is primed.
    std::vector<detail::PacketPtr> m_lastSound;
    detail::CodecContextPtr m_decoder;
};

std::size_t Splitter::pieceOf(std::int64_t pts, AVRational timeBase) const {
    std::size_t piece = 0;
    for (const Cut& cut : m_cuts)
        if (av_compare_ts(pts, timeBase, cut.at, cut.timeBase) >= 0)
            ++piece;
    return piece;
}

std::int64_t Splitter::originOf(std::size_t piece, AVRational timeBase) const {
    if (piece == 0)
        return 0;
    const Cut& cut = m_cuts[piece - 1];
    return av_rescale_q_rnd(cut.at, cut.timeBase, timeBase,
                            static_cast<AVRounding>(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

std::expected<void, Error> Splitter::write(std::size_t piece, int stream, AVPacket& packet) {
    const AVRational timeBase = m_input.streams[stream]->time_base;
    const std::int64_t origin = originOf(piece, timeBase);
    if (packet.pts != AV_NOPTS_VALUE)
        packet.pts -= origin;
    if (packet.dts != AV_NOPTS_VALUE)
        packet.dts -= origin;
    return m_pieces[piece].write(stream, packet);
}

std::expected<void, Error> Splitter::routeOther(AVPacket& packet) {
    const int stream = packet.stream_index;
    const std::size_t piece = pieceOf(presentationTime(packet), m_input.streams[stream]->time_base);
    const bool sound = m_input.streams[stream]->codecpar->codec_type == AVMEDIA_TYPE_AUDIO;
    detail::PacketPtr& before = m_lastSound[static_cast<std::size_t>(stream)];
    if (sound && piece > 0 && !m_pieces[piece].hasPackets(stream) && before &&
        pieceOf(presentationTime(*before), m_input.streams[stream]->time_base) < piece) {
        detail::PacketPtr primer(av_packet_clone(before.get()));
        if (!primer)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        if (auto written = write(piece, stream, *primer); !written)
            return written;
    }
    if (sound) {
        before.reset(av_packet_clone(&packet));
        if (!before)
            return std::unexpected(Error{ENOMEM, "out of memory"});
    }
    return write(piece, stream, packet);
}

std::expected<std::vector<detail::FramePtr>, Error> Splitter::decodeGroup() {
    std::vector<detail::FramePtr> frames;
    if (!m_decoder) {
        auto decoder = detail::openDecoder(*m_input.streams[m_video], detail::DecoderThreads::PerCore);
        if (!decoder)
            return std::unexpected(decoder.error());
        m_decoder = std::move(*decoder);
    }
    avcodec_flush_buffers(m_decoder.get());
    auto receive = [&]() -> std::expected<void, Error> {
        for (;;) {
            detail::FramePtr frame(av_frame_alloc());
            if (!frame)
                return std::unexpected(Error{ENOMEM, "out of memory"});
            const int status = avcodec_receive_frame(m_decoder.get(), frame.get());
            if (status == detail::kErrorAgain || status == detail::errorEndOfFile())
                return {};
            if (status < 0)
                return std::unexpected(makeError(status, "cannot decode the pictures at the cut"));
            frames.push_back(std::move(frame));
        }
    };
    for (const auto& packet : m_group) {
        if (const int status = avcodec_send_packet(m_decoder.get(), packet.get()); status < 0)
            return std::unexpected(makeError(status, "cannot decode the pictures at the cut"));
        if (auto received = receive(); !received)
            return std::unexpected(received.error());
    }
    avcodec_send_packet(m_decoder.get(), nullptr);
    if (auto received = receive(); !received)
        return std::unexpected(received.error());
    std::sort(frames.begin(), frames.end(),
              [](const auto& a, const auto& b) { return a->best_effort_timestamp < b->best_effort_timestamp; });
    return frames;
}

std::expected<void, Error> Splitter::encode(std::size_t piece, const std::vector<const AVFrame*>& frames,
                                            std::int64_t end, std::int64_t decodeDelay) {
    if (frames.empty())
        return {};
    auto encoder = split::SegmentEncoder::open(*m_input.streams[m_video], *frames.front());
    if (!encoder)
        return std::unexpected(encoder.error());
    return encoder->encode(frames, end, decodeDelay,
                           [&](AVPacket& packet) { return write(piece, m_video, packet); });
}

std::expected<void, Error> Splitter::flushGroup(std::int64_t end) {
    if (m_group.empty())
        return {};
    const AVRational timeBase = m_input.streams[m_video]->time_base;
    std::int64_t first = kNoTime;
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    bool reorders = false;
    std::int64_t previous = std::numeric_limits<std::int64_t>::min();
    for (const auto& packet : m_group) {
        const std::int64_t pts = presentationTime(*packet);
        first = std::min(first, pts);
        last = std::max(last, pts);
        reorders = reorders || pts <= previous;
        previous = pts;
    }
    // The cuts that fall between this group's pictures.
    std::vector<std::int64_t> inside;
    for (const Cut& cut : m_cuts)
        if (cut.at > first && cut.at <= last)
            inside.push_back(cut.at);
    Group group = std::move(m_group);
    m_group.clear();
    if (inside.empty()) {
        const std::size_t piece = pieceOf(first, timeBase);
        for (auto& packet : group)
            if (auto written = write(piece, m_video, *packet); !written)
                return written;
        return {};
    }
    m_group = std::move(group);
    auto frames = decodeGroup();
    group = std::move(m_group);
    m_group.clear();
    if (!frames)
        return std::unexpected(frames.error());
    const AVPacket& key = *group.front();
    const std::int64_t decodeDelay =
        key.pts != AV_NOPTS_VALUE && key.dts != AV_NOPTS_VALUE ? std::max<std::int64_t>(0, key.pts - key.dts) : 0;
    const std::int64_t groupEnd = end != kNoTime ? end : last + std::max<std::int64_t>(1, group.back()->duration);
    // The stretch before the first cut: copied when no picture in it can
    // depend on one after the cut, else encoded too.
    const std::size_t firstPiece = pieceOf(first, timeBase);
    if (!reorders) {
        for (auto& packet : group)
            if (presentationTime(*packet) < inside.front())
                if (auto written = write(firstPiece, m_video, *packet); !written)
                    return written;
    }
    for (std::size_t n = reorders ? 0 : 1; n <= inside.size(); ++n) {
        const std::int64_t from = n == 0 ? first : inside[n - 1];
        const std::int64_t to = n < inside.size() ? inside[n] : groupEnd;
        std::vector<const AVFrame*> stretch;
        for (const auto& frame : *frames)
            if (frame->best_effort_timestamp >= from && frame->best_effort_timestamp < to)
                stretch.push_back(frame.get());
        const std::size_t piece = n == 0 ? firstPiece : pieceOf(from, timeBase);
        if (auto encoded = encode(piece, stretch, to, decodeDelay); !encoded)
            return encoded;
    }
    return {};
}

std::expected<void, Error> Splitter::run() {
    for (auto& piece : m_pieces)
        if (auto begun = piece.begin(); !begun)
            return begun;
    const std::int64_t size = m_input.pb ? avio_size(m_input.pb) : -1;
    detail::PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    std::int64_t count = 0;
    for (;;) {
        const int status = av_read_frame(&m_input, packet.get());
        if (status == detail::errorEndOfFile())
            break;
        if (status < 0)
            return std::unexpected(makeError(status, "cannot read the movie"));
        if (++count % 64 == 0 && m_progress && size > 0 && packet->pos >= 0 &&
            !m_progress(std::clamp(static_cast<double>(packet->pos) / static_cast<double>(size), 0.0, 1.0)))
            return std::unexpected(Error{ECANCELED, "Cancelled"});
        const int stream = packet->stream_index;
        if (!m_pieces.front().carries(stream)) {
            av_packet_unref(packet.get());
            continue;
        }
        if (stream == m_video) {
            if ((packet->flags & AV_PKT_FLAG_KEY) && !m_group.empty())
                if (auto flushed = flushGroup(presentationTime(*packet)); !flushed)
                    return flushed;
            m_group.emplace_back(av_packet_alloc());
            if (!m_group.back())
                return std::unexpected(Error{ENOMEM, "out of memory"});
            av_packet_move_ref(m_group.back().get(), packet.get());
            continue;
        }
        auto routed = routeOther(*packet);
        av_packet_unref(packet.get());
        if (!routed)
            return routed;
    }
    if (auto flushed = flushGroup(kNoTime); !flushed)
        return flushed;
    if (m_progress && !m_progress(1.0))
        return std::unexpected(Error{ECANCELED, "Cancelled"});
    for (auto& piece : m_pieces)
        if (auto finished = piece.finish(); !finished)
            return finished;
    return {};
}

} // namespace

std::expected<void, Error> splitMovieFile(const std::filesystem::path& source, const std::vector<Time>& cuts,
                                          const std::vector<std::filesystem::path>& pieces,
                                          const std::function<bool(double)>& progress) {
    detail::configureLogging();
    if (pieces.size() != cuts.size() + 1)
        return std::unexpected(Error{EINVAL, "a split needs one more piece than cuts"});
    for (std::size_t i = 0; i < cuts.size(); ++i)
        if (isIndefinite(cuts[i]) || cuts[i].value < 0 || (i > 0 && compareTimes(cuts[i - 1], cuts[i]) > 0))
            return std::unexpected(Error{EINVAL, "the cut times must not be negative and must ascend"});
    auto input = detail::openInputFile(source);
    if (!input)
        return std::unexpected(input.error());
    AVFormatContext& context = **input;

    // Pictures, sound and text travel; cover pictures and data do not.
    std::vector<int> streams;
    int video = -1;
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream& stream = *context.streams[i];
        const AVMediaType type = stream.codecpar->codec_type;
        if (type == AVMEDIA_TYPE_VIDEO && (stream.disposition & AV_DISPOSITION_ATTACHED_PIC))
            continue;
        if (type != AVMEDIA_TYPE_VIDEO && type != AVMEDIA_TYPE_AUDIO && type != AVMEDIA_TYPE_SUBTITLE)
            continue;
        if (type == AVMEDIA_TYPE_VIDEO) {
            if (video >= 0)
                continue;
            video = static_cast<int>(i);
        }
        streams.push_back(static_cast<int>(i));
    }
    if (streams.empty())
        return std::unexpected(Error{AVERROR_STREAM_NOT_FOUND, "the movie has nothing to split"});

    std::vector<Cut> snapped;
    for (const Time& cut : cuts) {
        // A time without a scale is the zero time.
        const bool zero = cut.scale <= 0 || cut.value == 0;
        if (video < 0) {
            snapped.push_back(Cut{zero ? 0 : av_rescale_rnd(cut.value, AV_TIME_BASE, cut.scale, AV_ROUND_NEAR_INF)});
            continue;
        }
        const AVRational timeBase = context.streams[video]->time_base;
        // The cut in the video's units, rounded down: frames start on whole units.
        const std::int64_t at =
            zero ? 0
                 : av_rescale_rnd(cut.value, timeBase.den, static_cast<std::int64_t>(cut.scale) * timeBase.num,
                                  AV_ROUND_DOWN);
        auto frame = snapToFrame(context, video, at);
        if (!frame)
            return std::unexpected(frame.error());
        snapped.push_back(Cut{*frame, timeBase});
    }
    // Starting again from the top is simplest done with a fresh reader.
    input = detail::openInputFile(source);
    if (!input)
        return std::unexpected(input.error());

    std::vector<SplitOutput> outputs;
    for (const auto& piece : pieces) {
        auto output = SplitOutput::open(piece, **input, streams);
        if (!output)
            return std::unexpected(output.error());
        outputs.push_back(std::move(*output));
    }
    Splitter splitter(**input, video, std::move(snapped), outputs, progress);
    return splitter.run();
}

} // namespace media
