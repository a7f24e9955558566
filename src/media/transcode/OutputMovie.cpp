#include "media/transcode/OutputMovie.h"

#include <cerrno>

namespace media::transcode {

using namespace media::detail;

OutputMovie::~OutputMovie() = default;

std::expected<std::unique_ptr<OutputMovie>, Error>
OutputMovie::create(const std::filesystem::path& file, const std::string& container,
                    const std::filesystem::path& shownName) {
    std::unique_ptr<OutputMovie> movie(new OutputMovie());
    movie->m_file = file;
    movie->m_shownName = shownName;
    const AVOutputFormat* format = av_guess_format(container.c_str(), nullptr, nullptr);
    if (!format)
        return std::unexpected(Error{EINVAL, "\"" + shownName.string() +
                                                 "\": no container format is named \"" + container + "\""});
    AVFormatContext* context = nullptr;
    if (const int status = avformat_alloc_output_context2(&context, format, nullptr, nullptr); status < 0)
        return std::unexpected(movie->error(status, "cannot make a " + container + " file"));
    movie->m_context.reset(context);
    return movie;
}

Error OutputMovie::error(int code, const std::string& what) const {
    return makeError(code, "\"" + m_shownName.string() + "\": " + what);
}

bool OutputMovie::wantsGlobalHeaders() const {
    return (m_context->oformat->flags & AVFMT_GLOBALHEADER) != 0;
}

bool OutputMovie::keepsFrameDurations() const {
    const std::string name = m_context->oformat->name;
    return name != "mpegts" && name != "mpeg" && name != "vob" && name != "dvd" && name != "svcd" &&
           name != "vcd";
}

std::expected<int, Error> OutputMovie::addStream(const AVCodecContext* encoder) {
    AVStream* stream = avformat_new_stream(m_context.get(), nullptr);
    if (!stream)
        return std::unexpected(error(AVERROR(ENOMEM), "cannot add a stream"));
    if (const int status = avcodec_parameters_from_context(stream->codecpar, encoder); status < 0)
        return std::unexpected(error(status, "cannot add a stream"));
    stream->time_base = encoder->time_base;
    if (encoder->codec_type == AVMEDIA_TYPE_VIDEO) {
        stream->sample_aspect_ratio = encoder->sample_aspect_ratio;
        stream->avg_frame_rate = encoder->framerate;
    }
    return stream->index;
}

std::expected<int, Error> OutputMovie::addCopiedStream(const AVStream* source) {
    AVStream* stream = avformat_new_stream(m_context.get(), nullptr);
    if (!stream)
        return std::unexpected(error(AVERROR(ENOMEM), "cannot add a stream"));
    if (const int status = avcodec_parameters_copy(stream->codecpar, source->codecpar); status < 0)
        return std::unexpected(error(status, "cannot add a stream"));
    // The source container's tag may mean nothing here: the muxer picks its own.
    stream->codecpar->codec_tag = 0;
    stream->time_base = source->time_base;
    return stream->index;
}

std::expected<void, Error> OutputMovie::setChapters(const std::vector<Chapter>& chapters, const Time& end) {
    AVFormatContext* context = m_context.get();
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const Time& start = chapters[i].start;
        const Time& stop = i + 1 < chapters.size() ? chapters[i + 1].start : end;
        const std::int32_t scale = start.scale > 0 ? start.scale : (stop.scale > 0 ? stop.scale : 1);
        // The muxer owns its chapters from here on and frees them with itself.
        auto* grown = static_cast<AVChapter**>(
            av_realloc_array(context->chapters, context->nb_chapters + 1, sizeof(AVChapter*)));
        if (!grown)
            return std::unexpected(error(AVERROR(ENOMEM), "cannot add chapters"));
        context->chapters = grown;
        auto* chapter = static_cast<AVChapter*>(av_mallocz(sizeof(AVChapter)));
        if (!chapter)
            return std::unexpected(error(AVERROR(ENOMEM), "cannot add chapters"));
        context->chapters[context->nb_chapters++] = chapter;
        chapter->id = static_cast<std::int64_t>(i);
        chapter->time_base = AVRational{1, scale};
        chapter->start = start.scale > 0 ? start.value : 0;
        chapter->end = convertScale(stop, scale).value;
        av_dict_set(&chapter->metadata, "title", chapters[i].title.c_str(), 0);
    }
    return {};
}

std::expected<void, Error> OutputMovie::begin() {
    AVFormatContext* context = m_context.get();
    if (!(context->oformat->flags & AVFMT_NOFILE)) {
        const std::string url = "file:" + m_file.string();
        if (const int status = avio_open2(&context->pb, url.c_str(), AVIO_FLAG_WRITE, nullptr, nullptr);
            status < 0)
            return std::unexpected(error(status, "cannot write the file"));
    }
    if (const int status = avformat_write_header(context, nullptr); status < 0)
        return std::unexpected(error(status, "cannot write the file's header"));
    return {};
}

AVRational OutputMovie::streamTimeBase(int streamIndex) const {
    return m_context->streams[streamIndex]->time_base;
}

std::expected<void, Error> OutputMovie::write(AVPacket* packet, int streamIndex, AVRational timeBase) {
    packet->stream_index = streamIndex;
    av_packet_rescale_ts(packet, timeBase, m_context->streams[streamIndex]->time_base);
    if (const int status = av_interleaved_write_frame(m_context.get(), packet); status < 0)
        return std::unexpected(error(status, "cannot write the file"));
    return {};
}

std::expected<void, Error> OutputMovie::finish() {
    AVFormatContext* context = m_context.get();
    if (const int status = av_write_trailer(context); status < 0)
        return std::unexpected(error(status, "cannot finish the file"));
    if (!(context->oformat->flags & AVFMT_NOFILE)) {
        // Closing flushes the last bytes: a full disk shows up here.
        if (const int status = avio_closep(&context->pb); status < 0)
            return std::unexpected(error(status, "cannot finish the file"));
    }
    return {};
}

} // namespace media::transcode
