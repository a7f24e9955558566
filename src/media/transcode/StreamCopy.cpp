#include "media/transcode/StreamCopy.h"

#include "media/detail/SourceFile.h"

#include <algorithm>
#include <cerrno>

namespace media::transcode {

using namespace media::detail;

namespace {

bool validStreams(const AVFormatContext* format, const std::vector<int>& streams) {
    return !streams.empty() && std::all_of(streams.begin(), streams.end(), [format](int stream) {
        return stream >= 0 && static_cast<unsigned>(stream) < format->nb_streams;
    });
}

} // namespace

bool quickTimeCanCarry(const std::filesystem::path& file, const std::vector<int>& streams) {
    auto source = SourceFile::open(file, SourceFile::Depth::Header);
    if (!source || !validStreams((*source)->format(), streams))
        return false;
    const AVOutputFormat* mov = av_guess_format("mov", nullptr, nullptr);
    return std::all_of(streams.begin(), streams.end(), [&](int stream) {
        const AVCodecParameters* parameters = (*source)->format()->streams[stream]->codecpar;
        return avformat_query_codec(mov, parameters->codec_id, FF_COMPLIANCE_NORMAL) == 1;
    });
}

std::expected<void, Error> copyStreamsToQuickTime(const std::filesystem::path& file,
                                                  const std::vector<int>& streams,
                                                  const std::filesystem::path& output,
                                                  const std::function<bool(double fraction)>& progress) {
    auto source = SourceFile::open(file, SourceFile::Depth::StreamInfo);
    if (!source)
        return std::unexpected(source.error());
    AVFormatContext* input = (*source)->format();
    if (!validStreams(input, streams))
        return std::unexpected(Error{EINVAL, "\"" + file.string() + "\": no such streams"});
    const auto failed = [&](int status, const std::string& what) {
        return std::unexpected(makeError(status, "\"" + output.string() + "\": " + what));
    };

    AVFormatContext* allocated = nullptr;
    if (const int status = avformat_alloc_output_context2(&allocated, nullptr, "mov", nullptr); status < 0)
        return failed(status, "cannot make a QuickTime file");
    OutputContextPtr muxer(allocated);
    std::vector<int> outputIndex(input->nb_streams, -1);
    for (const int stream : streams) {
        AVStream* copy = avformat_new_stream(muxer.get(), nullptr);
        if (!copy)
            return failed(AVERROR(ENOMEM), "cannot add a stream");
        if (const int status = avcodec_parameters_copy(copy->codecpar, input->streams[stream]->codecpar);
            status < 0)
            return failed(status, "cannot add a stream");
        copy->codecpar->codec_tag = 0; // the muxer picks QuickTime's own tag
        copy->time_base = input->streams[stream]->time_base;
        copy->sample_aspect_ratio = input->streams[stream]->sample_aspect_ratio;
        copy->disposition = input->streams[stream]->disposition;
        outputIndex[static_cast<std::size_t>(stream)] = copy->index;
    }
    const std::string url = "file:" + output.string();
    if (const int status = avio_open2(&muxer->pb, url.c_str(), AVIO_FLAG_WRITE, nullptr, nullptr); status < 0)
        return failed(status, "cannot write the file");
    if (const int status = avformat_write_header(muxer.get(), nullptr); status < 0)
        return failed(status, "cannot write the file's header");

    for (unsigned i = 0; i < input->nb_streams; ++i)
        input->streams[i]->discard = outputIndex[i] >= 0 ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    const double length = input->duration > 0 ? static_cast<double>(input->duration) / AV_TIME_BASE : 0;
    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return failed(AVERROR(ENOMEM), "out of memory");
    for (;;) {
        const int status = av_read_frame(input, packet.get());
        if (status == errorEndOfFile())
            break;
        if (status < 0)
            return std::unexpected(makeError(status, "\"" + file.string() + "\": cannot read"));
        const int target = outputIndex[static_cast<std::size_t>(packet->stream_index)];
        if (target < 0) {
            av_packet_unref(packet.get());
            continue;
        }
        const AVRational from = input->streams[packet->stream_index]->time_base;
        const double at = packet->pts != AV_NOPTS_VALUE ? static_cast<double>(packet->pts) * av_q2d(from) : 0;
        av_packet_rescale_ts(packet.get(), from, muxer->streams[target]->time_base);
        packet->stream_index = target;
        packet->pos = -1;
        if (const int written = av_interleaved_write_frame(muxer.get(), packet.get()); written < 0)
            return failed(written, "cannot write the file");
        if (progress && length > 0 && !progress(std::clamp(at / length, 0.0, 1.0)))
            return std::unexpected(Error{ECANCELED, "Writing the movie was cancelled."});
    }
    if (const int status = av_write_trailer(muxer.get()); status < 0)
        return failed(status, "cannot finish the file");
    if (const int status = avio_closep(&muxer->pb); status < 0)
        return failed(status, "cannot finish the file");
    return {};
}

} // namespace media::transcode
