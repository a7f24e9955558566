#include "media/split/SplitOutput.h"

namespace media::split {

using detail::makeError;

std::expected<SplitOutput, Error> SplitOutput::open(const std::filesystem::path& destination,
                                                    const AVFormatContext& input,
                                                    const std::vector<int>& streams) {
    auto file = detail::TemporaryFile::create(destination);
    if (!file)
        return std::unexpected(file.error());
    SplitOutput output(std::move(*file));
    AVFormatContext* raw = nullptr;
    // The format the destination's name asks for; the file itself is the temporary one.
    const std::string name = destination.filename().string();
    if (const int status = avformat_alloc_output_context2(&raw, nullptr, nullptr, name.c_str()); status < 0)
        return std::unexpected(makeError(status, "no movie format for " + name));
    output.m_muxer.reset(raw);
    output.m_map.assign(input.nb_streams, -1);
    output.m_started.assign(input.nb_streams, false);
    for (unsigned i = 0; i < input.nb_streams; ++i)
        output.m_inputTimeBases.push_back(input.streams[i]->time_base);
    for (const int index : streams) {
        const AVStream& source = *input.streams[index];
        AVStream* stream = avformat_new_stream(raw, nullptr);
        if (!stream)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        if (const int status = avcodec_parameters_copy(stream->codecpar, source.codecpar); status < 0)
            return std::unexpected(makeError(status, "cannot copy a stream"));
        // The tag of the source's container may mean nothing in the piece's.
        stream->codecpar->codec_tag = 0;
        stream->time_base = source.time_base;
        stream->disposition = source.disposition;
        av_dict_copy(&stream->metadata, source.metadata, 0);
        // Rotation and the like travel as stream side data.
        for (int n = 0; n < source.nb_side_data; ++n) {
            const AVPacketSideData& data = source.side_data[n];
            std::uint8_t* copy = av_stream_new_side_data(stream, data.type, data.size);
            if (!copy)
                return std::unexpected(Error{ENOMEM, "out of memory"});
            std::copy(data.data, data.data + data.size, copy);
        }
        output.m_map[static_cast<std::size_t>(index)] = stream->index;
    }
    av_dict_copy(&raw->metadata, input.metadata, 0);
    if (const int status = avio_open(&raw->pb, output.m_file.path().c_str(), AVIO_FLAG_WRITE); status < 0)
        return std::unexpected(makeError(status, "cannot write " + destination.string()));
    return output;
}

std::expected<void, Error> SplitOutput::begin() {
    if (const int status = avformat_write_header(m_muxer.get(), nullptr); status < 0)
        return std::unexpected(makeError(status, "cannot begin the piece"));
    return {};
}

std::expected<void, Error> SplitOutput::write(int inputStream, AVPacket& packet) {
    const int index = m_map[static_cast<std::size_t>(inputStream)];
    packet.stream_index = index;
    packet.pos = -1;
    av_packet_rescale_ts(&packet, m_inputTimeBases[static_cast<std::size_t>(inputStream)],
                         m_muxer->streams[index]->time_base);
    m_started[static_cast<std::size_t>(inputStream)] = true;
    if (const int status = av_interleaved_write_frame(m_muxer.get(), &packet); status < 0)
        return std::unexpected(makeError(status, "cannot write the piece"));
    return {};
}

std::expected<void, Error> SplitOutput::finish() {
    if (const int status = av_write_trailer(m_muxer.get()); status < 0)
        return std::unexpected(makeError(status, "cannot finish the piece"));
    if (const int status = avio_closep(&m_muxer->pb); status < 0)
        return std::unexpected(makeError(status, "cannot finish the piece"));
    return m_file.commit();
}

} // namespace media::split
