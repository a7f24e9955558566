#include "media/detail/SourceFile.h"

#include "media/detail/Gapless.h"
#include "media/detail/ReopeningReader.h"
#include "media/quicktime/ReadIndex.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

using namespace detail;

namespace {

// The widest picture a pixel aspect ratio may stretch a frame to.
constexpr float kLargestDisplaySide = 65536;

// Probing asks this many bytes at most: enough for every container whose
// header FFmpeg can recognise, small enough to answer quickly.
constexpr unsigned kMaxProbeBytes = 1 << 20;

Error errnoError(int code, const std::string& what) {
    return Error{code, what + ": " + std::strerror(code)};
}

// Refuses what is not a readable, non-empty regular file before FFmpeg sees it,
// so folders, devices and pipes give a plain reason and never block.
std::optional<Error> checkRegularFile(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errnoError(errno, "cannot read the file");
    if (S_ISDIR(info.st_mode))
        return Error{EISDIR, "it is a folder, not a file"};
    if (!S_ISREG(info.st_mode))
        return Error{EINVAL, "it is not a regular file"};
    if (info.st_size == 0)
        return Error{EINVAL, "the file is empty"};
    return std::nullopt;
}

bool isPictureReader(const AVInputFormat* format) {
    const std::string_view name = format->name;
    return name == "image2" || (name.size() > 5 && name.ends_with("_pipe"));
}

// Probes the container from the file's bytes. The name is offered too, since a
// few formats are known only by their extension; the "image2" reader is refused
// because it takes file names as numbered-sequence patterns.
std::expected<const AVInputFormat*, Error> probeFormat(AVIOContext* io, const char* name) {
    const AVInputFormat* format = nullptr;
    int score = av_probe_input_buffer2(io, &format, name, nullptr, 0, kMaxProbeBytes);
    if (score >= 0 && format && std::string_view(format->name) == "image2") {
        format = nullptr;
        score = av_probe_input_buffer2(io, &format, "", nullptr, 0, kMaxProbeBytes);
    }
    if (score < 0 || !format)
        return std::unexpected(Error{score < 0 ? score : AVERROR_INVALIDDATA,
                                     "not a movie, picture or sound file that can be read"});
    return format;
}

// Codecs whose decoders need the configuration record the sample description
// carries (avcC, hvcC, esds, alac, dOps, av1C) before they can start.
bool needsConfiguration(AVCodecID codec) {
    switch (codec) {
    case AV_CODEC_ID_H264:
    case AV_CODEC_ID_HEVC:
    case AV_CODEC_ID_AV1:
    case AV_CODEC_ID_MPEG4:
    case AV_CODEC_ID_AAC:
    case AV_CODEC_ID_ALAC:
    case AV_CODEC_ID_OPUS:
        return true;
    default:
        return false;
    }
}

bool headerTellsParameters(const AVCodecParameters& parameters) {
    if (needsConfiguration(parameters.codec_id) && parameters.extradata_size <= 0)
        return false;
    switch (parameters.codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return parameters.width > 0 && parameters.height > 0;
    case AVMEDIA_TYPE_AUDIO:
        return parameters.sample_rate > 0 && parameters.ch_layout.nb_channels > 0;
    default:
        return true;
    }
}

// The file starts where its earliest stream does, as FFmpeg's own estimate
// after reading the first packets would tell.
void setFileStartFromStreams(AVFormatContext& context) {
    std::int64_t start = AV_NOPTS_VALUE;
    for (unsigned i = 0; i < context.nb_streams; ++i) {
        const AVStream* stream = context.streams[i];
        if (stream->start_time == AV_NOPTS_VALUE || stream->time_base.num <= 0 || stream->time_base.den <= 0)
            continue;
        const std::int64_t streamStart = av_rescale_q(stream->start_time, stream->time_base, AV_TIME_BASE_Q);
        start = start == AV_NOPTS_VALUE ? streamStart : std::min(start, streamStart);
    }
    context.start_time = start;
}

} // namespace

namespace {

// Whether the file starts as a QuickTime or MPEG-4 file does.
bool startsLikeQuickTime(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    std::uint8_t head[8];
    const ssize_t got = ::pread(fd, head, sizeof head, 0);
    ::close(fd);
    return got == static_cast<ssize_t>(sizeof head) && looksLikeQuickTime(head, sizeof head);
}

} // namespace

std::shared_ptr<SourceFile> SourceFile::openDescribed(const std::filesystem::path& path) {
    if (!startsLikeQuickTime(path))
        return nullptr;
    auto index = quicktime::readIndex(path);
    if (!index)
        return nullptr;
    auto streams = describeQuickTimeStreams(*index);
    if (!streams)
        return nullptr;
    std::shared_ptr<SourceFile> source(new SourceFile());
    source->m_path = path;
    source->m_index = std::make_shared<const quicktime::SourceIndex>(std::move(*index));
    source->m_described = std::move(*streams);
    return source;
}

std::expected<std::shared_ptr<SourceFile>, Error> SourceFile::open(const std::filesystem::path& path,
                                                                   Depth depth) {
    if (auto problem = checkRegularFile(path))
        return std::unexpected(*problem);
    if (depth != Depth::StreamInfo)
        if (auto described = openDescribed(path))
            return described;
    return openWithFfmpeg(path, depth);
}

std::expected<std::shared_ptr<SourceFile>, Error> SourceFile::openWithFfmpeg(const std::filesystem::path& path,
                                                                             Depth depth) {
    configureLogging();

    // Our own I/O context, reading the local file by its path whatever
    // characters it holds (never as a URL), and holding its descriptor only
    // while the file is in use (see ReopeningReader).
    const std::string url = "file:" + path.string();
    auto reader = detail::ReopeningReader::open(path);
    if (!reader)
        return std::unexpected(reader.error());
    AVIOContext* io = (*reader)->io();

    auto format = probeFormat(io, path.c_str());
    if (!format)
        return std::unexpected(format.error());

    AVFormatContext* context = avformat_alloc_context();
    if (!context)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    context->pb = io;
    context->flags |= AVFMT_FLAG_CUSTOM_IO;

    AVDictionary* settings = nullptr;
    // QuickTime reference movies: follow their data references, by absolute
    // path, to local files only.
    av_dict_set(&settings, "enable_drefs", "1", 0);
    av_dict_set(&settings, "use_absolute_path", "1", 0);
    av_dict_set(&settings, "protocol_whitelist", "file", 0);
    DictionaryPtr options(settings);
    // Opening takes the dictionary and gives back what the reader did not use.
    AVDictionary* unused = options.release();
    const int status = avformat_open_input(&context, url.c_str(), *format, &unused);
    options.reset(unused);
    // A failed open has freed the context; the reader frees its I/O context.
    if (status < 0)
        return std::unexpected(makeError(status, "not a movie, picture or sound file that can be read"));

    std::shared_ptr<SourceFile> source(new SourceFile());
    source->m_path = path;
    source->m_reader = std::move(*reader);
    source->m_format.reset(context);
    source->m_isPicture = isPictureReader(context->iformat);

    // Whether the file opens is decided by its header alone, so that a quick
    // probe and a full open always agree.
    bool anyUsable = false;
    for (unsigned i = 0; i < context->nb_streams; ++i)
        anyUsable = anyUsable || source->isUsableStream(static_cast<int>(i));
    if (!anyUsable)
        return std::unexpected(Error{AVERROR_STREAM_NOT_FOUND, "the file holds no video, sound or text"});

    // Pictures tell their size only once decoded, so they always get stream info.
    const bool headerSuffices =
        depth == Depth::Header || (depth == Depth::Parameters && source->headerTellsEveryStream());
    if (!headerSuffices || source->m_isPicture)
        source->completeStreamInfo();
    else if (depth == Depth::Parameters)
        setFileStartFromStreams(*context);
    return source;
}

// Reading the first packets decodes several frames of each stream (seven of
// H.264, to learn its reordering), the larger part of opening a movie. Only
// QuickTime's reader is trusted to have read everything else from the header.
bool SourceFile::headerTellsEveryStream() const {
    if (!std::string_view(m_format->iformat->name).starts_with("mov,"))
        return false;
    for (unsigned i = 0; i < m_format->nb_streams; ++i)
        if (isUsableStream(static_cast<int>(i)) && !headerTellsParameters(*m_format->streams[i]->codecpar))
            return false;
    return true;
}

void SourceFile::completeStreamInfo() {
    if (m_hasStreamInfo)
        return;
    m_hasStreamInfo = true;
    // A failure here leaves what the header told.
    if (AVFormatContext* context = format())
        avformat_find_stream_info(context, nullptr);
}

AVFormatContext* SourceFile::format() const {
    if (m_described) {
        std::call_once(m_formatOpening, [this] {
            if (auto opened = openWithFfmpeg(m_path, Depth::Header)) {
                m_reader = std::move((*opened)->m_reader);
                m_format = std::move((*opened)->m_format);
                setFileStartFromStreams(*m_format);
            }
        });
    }
    return m_format.get();
}

int SourceFile::streamCount() const {
    return m_described ? static_cast<int>(m_described->size()) : static_cast<int>(m_format->nb_streams);
}

std::string SourceFile::codecName(int streamIndex) const {
    if (m_described)
        return (*m_described)[static_cast<std::size_t>(streamIndex)].codecName;
    return avcodec_get_name(m_format->streams[streamIndex]->codecpar->codec_id);
}

const detail::StreamDescription* SourceFile::description(int streamIndex) const {
    if (!m_described || streamIndex < 0 || static_cast<std::size_t>(streamIndex) >= m_described->size())
        return nullptr;
    return &(*m_described)[static_cast<std::size_t>(streamIndex)];
}

bool SourceFile::isQuickTime() const {
    return m_described || std::string_view(m_format->iformat->name).starts_with("mov,");
}

SourceFile::~SourceFile() {
    // The I/O context is the reader's to free, after the demuxer is closed.
    if (m_format)
        m_format->pb = nullptr;
}

bool SourceFile::isUsableStream(int streamIndex) const {
    if (const auto* described = description(streamIndex))
        return described->usable;
    const AVStream* stream = m_format->streams[streamIndex];
    if (stream->codecpar->codec_id == AV_CODEC_ID_NONE)
        return false;
    if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC)
        return false; // cover art of a sound file is not a video track
    switch (stream->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
    case AVMEDIA_TYPE_AUDIO:
    case AVMEDIA_TYPE_SUBTITLE:
        return true;
    default:
        return false;
    }
}

MediaType SourceFile::mediaType(int streamIndex) const {
    if (const auto* described = description(streamIndex))
        return described->mediaType;
    switch (m_format->streams[streamIndex]->codecpar->codec_type) {
    case AVMEDIA_TYPE_VIDEO:
        return MediaType::Video;
    case AVMEDIA_TYPE_AUDIO:
        return MediaType::Sound;
    case AVMEDIA_TYPE_SUBTITLE:
        return MediaType::Text;
    default:
        return MediaType::Other;
    }
}

// A stream's time base num/den becomes the scale den/num when that is whole,
// else the scale den with timestamps counted num units at a time.
std::int32_t SourceFile::streamTimeScale(int streamIndex) const {
    if (const auto* described = description(streamIndex))
        return described->timeScale;
    const AVRational base = m_format->streams[streamIndex]->time_base;
    if (base.num <= 0 || base.den <= 0)
        return AV_TIME_BASE;
    return base.den % base.num == 0 ? base.den / base.num : base.den;
}

static std::int64_t timestampMultiplier(const AVRational& base) {
    if (base.num <= 0 || base.den <= 0)
        return 1;
    return base.den % base.num == 0 ? 1 : base.num;
}

Time SourceFile::streamTime(int streamIndex, std::int64_t timestamp) const {
    // FFmpeg's QuickTime reader counts a stream's timestamps in its media time scale.
    if (const auto* described = description(streamIndex))
        return makeTime(timestamp, described->timeScale);
    const AVRational base = m_format->streams[streamIndex]->time_base;
    if (base.num <= 0 || base.den <= 0)
        return makeTime(timestamp, AV_TIME_BASE);
    const std::int64_t multiplier = timestampMultiplier(base);
    return makeTime(timestamp * multiplier, streamTimeScale(streamIndex));
}

std::int64_t SourceFile::streamTimestamp(int streamIndex, const Time& time) const {
    if (const auto* described = description(streamIndex))
        return convertScale(time, described->timeScale).value;
    const Time inScale = convertScale(time, streamTimeScale(streamIndex));
    return inScale.value / timestampMultiplier(m_format->streams[streamIndex]->time_base);
}

namespace {

// The gapless tag of a sound stream that tells no priming of its own: FFmpeg
// either read the tag itself (MPEG-4: the stream starts after the priming) or
// does not know it (MP3 without an encoder header: the stream starts at 0).
std::optional<Gapless> gaplessOf(const AVFormatContext& format, const AVStream& stream) {
    const AVCodecParameters& parameters = *stream.codecpar;
    if (parameters.codec_type != AVMEDIA_TYPE_AUDIO || parameters.sample_rate <= 0 ||
        (parameters.codec_id != AV_CODEC_ID_AAC && parameters.codec_id != AV_CODEC_ID_MP3))
        return std::nullopt;
    const AVDictionaryEntry* tag = av_dict_get(stream.metadata, "iTunSMPB", nullptr, 0);
    if (!tag)
        tag = av_dict_get(format.metadata, "iTunSMPB", nullptr, 0);
    auto gapless = parseGapless(tag ? tag->value : nullptr);
    if (!gapless)
        return std::nullopt;
    const std::int64_t start = stream.start_time == AV_NOPTS_VALUE ? 0 : stream.start_time;
    const std::int64_t priming =
        av_rescale_q(gapless->priming, AVRational{1, parameters.sample_rate}, stream.time_base);
    if (start != 0 && std::llabs(start - priming) > 1)
        return std::nullopt;
    return gapless;
}

} // namespace

Time SourceFile::gaplessPriming(int streamIndex) const {
    if (const auto* described = description(streamIndex))
        return makeTime(0, described->timeScale); // files with a gapless tag are FFmpeg's to read
    const AVStream* stream = m_format->streams[streamIndex];
    const auto gapless = gaplessOf(*m_format, *stream);
    const std::int32_t scale = streamTimeScale(streamIndex);
    if (!gapless)
        return makeTime(0, scale);
    return convertScale(makeTime(gapless->priming, stream->codecpar->sample_rate), scale);
}

TimeRange SourceFile::streamRange(int streamIndex) const {
    if (const auto* described = description(streamIndex))
        return described->range;
    const TimeRange whole = containerRange(streamIndex);
    const AVStream* stream = m_format->streams[streamIndex];
    const auto gapless = gaplessOf(*m_format, *stream);
    if (!gapless)
        return whole;
    const std::int32_t scale = streamTimeScale(streamIndex);
    const int rate = stream->codecpar->sample_rate;
    const Time end = addTimes(whole.start, whole.duration);
    const auto kept = keptSamples(*gapless, convertScale(end, rate).value);
    if (!kept)
        return whole; // the tag does not fit the stream: ignored
    return makeTimeRange(convertScale(makeTime(gapless->priming, rate), scale),
                         convertScale(makeTime(*kept, rate), scale));
}

TimeRange SourceFile::containerRange(int streamIndex) const {
    const AVStream* stream = m_format->streams[streamIndex];
    const std::int32_t scale = streamTimeScale(streamIndex);
    const std::int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    Time duration = makeTime(0, scale);
    if (stream->duration != AV_NOPTS_VALUE && stream->duration > 0) {
        duration = streamTime(streamIndex, stream->duration);
    } else if (m_format->duration != AV_NOPTS_VALUE && m_format->duration > 0) {
        // Containers such as Matroska give the length of the whole file only:
        // the stream lasts from its start to the file's end.
        const std::int64_t fileStart = m_format->start_time == AV_NOPTS_VALUE ? 0 : m_format->start_time;
        const Time fileEnd = makeTime(fileStart + m_format->duration, AV_TIME_BASE);
        const Time remaining = subtractTimes(fileEnd, streamTime(streamIndex, start));
        if (remaining.value > 0)
            duration = convertScale(remaining, scale);
    }
    return makeTimeRange(streamTime(streamIndex, start), duration);
}

int SourceFile::clockwiseRotation(int streamIndex) const {
    if (const auto* described = description(streamIndex))
        return described->clockwiseRotation;
    const AVStream* stream = m_format->streams[streamIndex];
    size_t size = 0;
    const std::uint8_t* matrix = av_stream_get_side_data(stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (!matrix || size < 9 * sizeof(std::int32_t))
        return 0;
    // The matrix turns the frame counterclockwise by this many degrees.
    const double counterclockwise = av_display_rotation_get(reinterpret_cast<const std::int32_t*>(matrix));
    if (std::isnan(counterclockwise))
        return 0;
    const long quarterTurns = std::lround(-counterclockwise / 90.0);
    return static_cast<int>(((quarterTurns % 4) + 4) % 4) * 90;
}

Size SourceFile::displaySize(int streamIndex) const {
    if (const auto* described = description(streamIndex))
        return described->displaySize;
    const AVStream* stream = m_format->streams[streamIndex];
    const AVCodecParameters* parameters = stream->codecpar;
    AVRational aspect =
        stream->sample_aspect_ratio.num > 0 ? stream->sample_aspect_ratio : parameters->sample_aspect_ratio;
    float width = static_cast<float>(parameters->width);
    const float height = static_cast<float>(parameters->height);
    if (aspect.num > 0 && aspect.den > 0) {
        // A pixel aspect ratio that would make the picture absurdly wide (as a
        // damaged or hostile file can claim) is ignored: the coded width stands.
        const float shown =
            std::round(width * static_cast<float>(aspect.num) / static_cast<float>(aspect.den));
        if (shown >= 1 && shown <= kLargestDisplaySide)
            width = shown;
    }
    if (clockwiseRotation(streamIndex) % 180 == 90)
        return Size{height, width};
    return Size{width, height};
}

} // namespace media
