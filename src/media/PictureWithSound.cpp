// A still picture with the sound tracks of a sound file: the picture is
// encoded once and lasts the whole movie, the sound tracks are copied packet
// by packet where QuickTime holds their codec (remuxing as FFmpeg's remux
// example does), else decoded and encoded to AAC.

#include "media/PictureWithSound.h"

#include "media/Movie.h"
#include "media/detail/PictureDecoding.h"
#include "media/detail/SourceFile.h"
#include "media/transcode/AudioConformer.h"
#include "media/transcode/AudioEncoder.h"
#include "media/transcode/OutputMovie.h"
#include "media/transcode/StillPictureEncoder.h"
#include "media/transcode/StreamDecoder.h"
#include "media/detail/TemporaryFile.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace media {

using namespace media::detail;
using namespace media::transcode;

namespace {

// Sound codecs that QuickTime movies hold and players read there. Others
// (Opus, Vorbis, FLAC, ...) the mov muxer refuses or marks experimental.
bool quickTimeHoldsSound(AVCodecID codec) {
    switch (codec) {
    case AV_CODEC_ID_AAC:
    case AV_CODEC_ID_MP3:
    case AV_CODEC_ID_MP2:
    case AV_CODEC_ID_ALAC:
    case AV_CODEC_ID_AC3:
    case AV_CODEC_ID_PCM_S16BE:
    case AV_CODEC_ID_PCM_S16LE:
    case AV_CODEC_ID_PCM_S24BE:
    case AV_CODEC_ID_PCM_S24LE:
    case AV_CODEC_ID_PCM_S32BE:
    case AV_CODEC_ID_PCM_S32LE:
    case AV_CODEC_ID_PCM_F32BE:
    case AV_CODEC_ID_PCM_F32LE:
    case AV_CODEC_ID_PCM_F64BE:
    case AV_CODEC_ID_PCM_F64LE:
    case AV_CODEC_ID_PCM_S8:
    case AV_CODEC_ID_PCM_U8:
    case AV_CODEC_ID_PCM_ALAW:
    case AV_CODEC_ID_PCM_MULAW:
        return true;
    default:
        return false;
    }
}

std::int64_t frameTimestamp(const AVFrame& frame) {
    return frame.best_effort_timestamp != AV_NOPTS_VALUE ? frame.best_effort_timestamp : frame.pts;
}

// One sound track of the source on its way into the new movie.
struct SoundTrack final {
    int sourceStream = -1;
    AVRational sourceTimeBase{};
    std::int64_t origin = 0; // the stream's time 0, in its own units
    std::int64_t end = 0;    // where the track stops, in its own units
    // Copying:
    int outputStream = -1;
    // Encoding:
    std::optional<StreamDecoder> decoder;
    std::unique_ptr<AudioEncoder> encoder;
    std::unique_ptr<AudioConformer> conformer; // refers to *encoder, which stays put

    bool isEncoded() const { return encoder != nullptr; }
};

struct Source final {
    std::filesystem::path file;
    std::vector<int> streams;
};

// The one file and the streams that the movie's sound tracks show.
std::expected<Source, Error> soundSource(const Movie& sound) {
    Source source;
    for (const Track* track : sound.tracksOfType(MediaType::Sound)) {
        if (track->edits.size() != 1 || !track->edits.front().source)
            return std::unexpected(Error{EINVAL, "only the sound tracks of a file as opened can be written"});
        const Edit& edit = track->edits.front();
        if (source.file.empty())
            source.file = edit.source->path();
        else if (source.file != edit.source->path())
            return std::unexpected(Error{EINVAL, "the sound tracks come from more than one file"});
        source.streams.push_back(edit.streamIndex);
    }
    return source;
}

class PictureWithSoundWriter final {
public:
    PictureWithSoundWriter(const std::filesystem::path& destination, const Time& duration)
        : m_destination(destination), m_duration(duration) {}

    std::expected<void, Error> write(const QByteArray& picture, const Source& source);

private:
    std::expected<void, Error> addSoundTrack(int stream);
    std::expected<void, Error> copySamples();
    std::expected<void, Error> take(SoundTrack& track, AVPacket* packet);
    std::expected<void, Error> takeFrame(SoundTrack& track, const AVFrame& frame);
    std::expected<void, Error> finishSound();
    Error error(int code, const std::string& what) const {
        return makeError(code, "\"" + m_source->path().string() + "\": " + what);
    }

    std::filesystem::path m_destination;
    Time m_duration;
    std::unique_ptr<OutputMovie> m_output;
    std::shared_ptr<SourceFile> m_source;
    std::vector<SoundTrack> m_tracks;
};

std::expected<void, Error> PictureWithSoundWriter::write(const QByteArray& picture, const Source& source) {
    auto decoded = decodePicture(picture);
    if (!decoded)
        return std::unexpected(decoded.error());
    auto opened = SourceFile::open(source.file, SourceFile::Depth::StreamInfo);
    if (!opened)
        return std::unexpected(opened.error());
    m_source = *opened;

    auto temporary = detail::TemporaryFile::create(m_destination);
    if (!temporary)
        return std::unexpected(temporary.error());
    auto output = OutputMovie::create(temporary->path(), "mov", m_destination);
    if (!output)
        return std::unexpected(output.error());
    m_output = std::move(*output);

    auto video = StillPictureEncoder::open(**decoded, m_duration, *m_output);
    if (!video)
        return std::unexpected(video.error());
    if (auto added = (*video)->addStream(); !added)
        return added;
    for (int stream : source.streams)
        if (auto added = addSoundTrack(stream); !added)
            return added;

    if (auto begun = m_output->begin(); !begun)
        return begun;
    if (auto written = (*video)->write(); !written)
        return written;
    if (auto copied = copySamples(); !copied)
        return copied;
    if (auto finished = finishSound(); !finished)
        return finished;
    if (auto finished = m_output->finish(); !finished)
        return finished;
    return temporary->commitWithoutReplacing();
}

std::expected<void, Error> PictureWithSoundWriter::addSoundTrack(int streamIndex) {
    AVFormatContext* format = m_source->format();
    if (streamIndex < 0 || streamIndex >= static_cast<int>(format->nb_streams))
        return std::unexpected(Error{EINVAL, "the sound file has no stream " + std::to_string(streamIndex)});
    const AVStream* stream = format->streams[streamIndex];
    SoundTrack track;
    track.sourceStream = streamIndex;
    track.sourceTimeBase = stream->time_base;
    track.origin = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    const Time length = m_source->streamRange(streamIndex).duration;
    const Time kept = compareTimes(length, m_duration) < 0 ? length : m_duration;
    track.end = track.origin + m_source->streamTimestamp(streamIndex, convertScale(kept, length.scale));

    if (quickTimeHoldsSound(stream->codecpar->codec_id)) {
        auto index = m_output->addCopiedStream(stream);
        if (!index)
            return std::unexpected(index.error());
        track.outputStream = *index;
    } else {
        auto decoder = StreamDecoder::open(stream, m_source->path());
        if (!decoder)
            return std::unexpected(decoder.error());
        track.decoder.emplace(std::move(*decoder));
        EncoderSettings settings;
        settings.audioEncoder = "aac";
        const AVCodecContext* decoding = track.decoder->context();
        auto encoder = AudioEncoder::open(settings, decoding->sample_rate,
                                          std::max(1, decoding->ch_layout.nb_channels), *m_output);
        if (!encoder)
            return std::unexpected(encoder.error());
        track.encoder = std::move(*encoder);
        if (auto added = track.encoder->addStream(); !added)
            return added;
        const std::int64_t samples = av_rescale_q(track.end - track.origin, track.sourceTimeBase,
                                                  AVRational{1, track.encoder->sampleRate()});
        track.conformer = std::make_unique<AudioConformer>(*track.encoder, samples, m_source->path());
    }
    m_tracks.push_back(std::move(track));
    return {};
}

std::expected<void, Error> PictureWithSoundWriter::copySamples() {
    AVFormatContext* format = m_source->format();
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = AVDISCARD_ALL;
    for (const SoundTrack& track : m_tracks)
        format->streams[track.sourceStream]->discard = AVDISCARD_DEFAULT;

    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    for (;;) {
        const int status = av_read_frame(format, packet.get());
        if (status == errorEndOfFile())
            return {};
        if (status < 0)
            return std::unexpected(error(status, "cannot read"));
        auto track = std::find_if(m_tracks.begin(), m_tracks.end(), [&](const SoundTrack& t) {
            return t.sourceStream == packet->stream_index;
        });
        auto taken = track == m_tracks.end() ? std::expected<void, Error>{} : take(*track, packet.get());
        av_packet_unref(packet.get());
        if (!taken)
            return taken;
    }
}

std::expected<void, Error> PictureWithSoundWriter::take(SoundTrack& track, AVPacket* packet) {
    if (!track.isEncoded()) {
        // Samples that start at or after the end are not wanted; those
        // before time 0 (encoder priming) stay, and the muxer's edit list
        // hides them as the source's did.
        if (packet->pts != AV_NOPTS_VALUE && packet->pts >= track.end)
            return {};
        if (packet->pts != AV_NOPTS_VALUE)
            packet->pts -= track.origin;
        if (packet->dts != AV_NOPTS_VALUE)
            packet->dts -= track.origin;
        packet->pos = -1;
        return m_output->write(packet, track.outputStream, track.sourceTimeBase);
    }
    if (track.conformer->isComplete())
        return {};
    return track.decoder->decode(packet, [&](FramePtr frame) { return takeFrame(track, *frame); });
}

std::expected<void, Error> PictureWithSoundWriter::takeFrame(SoundTrack& track, const AVFrame& frame) {
    const std::int64_t timestamp = frameTimestamp(frame);
    const std::int64_t offset =
        timestamp == AV_NOPTS_VALUE
            ? 0
            : av_rescale_q_rnd(timestamp - track.origin, track.sourceTimeBase,
                               AVRational{1, track.encoder->sampleRate()}, AV_ROUND_NEAR_INF);
    return track.conformer->take(frame, offset);
}

std::expected<void, Error> PictureWithSoundWriter::finishSound() {
    for (SoundTrack& track : m_tracks) {
        if (!track.isEncoded())
            continue;
        if (!track.conformer->isComplete()) {
            auto flushed =
                track.decoder->decode(nullptr, [&](FramePtr frame) { return takeFrame(track, *frame); });
            if (!flushed)
                return flushed;
        }
        if (auto finished = track.conformer->finish(); !finished)
            return finished;
        if (auto finished = track.encoder->finish(); !finished)
            return finished;
    }
    return {};
}

} // namespace

std::expected<void, Error> writePictureWithSound(const std::filesystem::path& destination,
                                                 const QByteArray& picture, const Time& duration,
                                                 const Movie& sound) {
    configureLogging();
    if (compareTimes(duration, zeroTime()) <= 0)
        return std::unexpected(Error{EINVAL, "a movie of a still picture needs a duration"});
    auto source = soundSource(sound);
    if (!source)
        return std::unexpected(source.error());
    if (source->streams.empty())
        return std::unexpected(Error{EINVAL, "the movie has no sound track"});
    PictureWithSoundWriter writer(destination, duration);
    return writer.write(picture, *source);
}

} // namespace media
