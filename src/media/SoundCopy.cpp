#include "media/SoundExtraction.h"

#include "media/detail/FFmpeg.h"
#include "media/detail/TemporaryFile.h"
#include "media/sound/CafAacFile.h"
#include "media/sound/SoundReader.h"

#include <cstring>
#include <functional>
#include <vector>

namespace media {

namespace {

using detail::makeError;

struct CopyFormat final {
    const char* extension;
    const char* encoder;
    AVSampleFormat sampleFormat;
    std::int64_t bitRate;
};

CopyFormat copyFormat(SoundCopy copy) {
    switch (copy) {
    case SoundCopy::CoreAudioAac:
        return {".caf", "aac", AV_SAMPLE_FMT_FLTP, 192000};
    case SoundCopy::WaveUnsigned8:
        break;
    }
    return {".wav", "pcm_u8", AV_SAMPLE_FMT_U8, 0};
}

using PacketSink = std::function<std::expected<void, Error>(AVPacket&)>;

std::expected<void, Error> writeEncoded(AVCodecContext& encoder, AVPacket& packet, const PacketSink& write) {
    for (;;) {
        const int status = avcodec_receive_packet(&encoder, &packet);
        if (status == detail::kErrorAgain || status == detail::errorEndOfFile())
            return {};
        if (status < 0)
            return std::unexpected(makeError(status, "cannot encode the sound"));
        auto written = write(packet);
        av_packet_unref(&packet);
        if (!written)
            return written;
    }
}

} // namespace

std::filesystem::path soundCopyPath(const std::filesystem::path& sound, SoundCopy copy) {
    std::filesystem::path path = sound;
    return path.replace_extension(copyFormat(copy).extension);
}

std::expected<std::filesystem::path, Error> makeSoundCopy(const std::filesystem::path& sound, SoundCopy copy) {
    detail::configureLogging();
    const CopyFormat format = copyFormat(copy);
    const std::filesystem::path destination = soundCopyPath(sound, copy);
    auto reader = sound::SoundReader::open(sound, format.sampleFormat);
    if (!reader)
        return std::unexpected(reader.error());
    auto made = detail::encoderContextNamed(format.encoder);
    if (!made)
        return std::unexpected(made.error());
    const detail::CodecContextPtr encoder = std::move(*made);
    encoder->sample_fmt = format.sampleFormat;
    encoder->sample_rate = reader->sampleRate();
    av_channel_layout_copy(&encoder->ch_layout, &reader->channelLayout());
    encoder->time_base = AVRational{1, reader->sampleRate()};
    if (format.bitRate > 0)
        encoder->bit_rate = format.bitRate;

    auto file = detail::TemporaryFile::create(destination);
    if (!file)
        return std::unexpected(file.error());
    // CAF with AAC is written by our own writer, WAVE by FFmpeg's.
    const bool caf = copy == SoundCopy::CoreAudioAac;
    detail::OutputContextPtr muxer;
    if (caf) {
        encoder->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    } else {
        AVFormatContext* raw = nullptr;
        if (const int status = avformat_alloc_output_context2(&raw, nullptr, "wav", nullptr); status < 0)
            return std::unexpected(makeError(status, "no WAVE writer"));
        muxer.reset(raw);
    }
    if (const int status = avcodec_open2(encoder.get(), encoder->codec, nullptr); status < 0)
        return std::unexpected(makeError(status, "cannot encode the sound"));
    sound::CafAacWriter cafWriter(file->fd(), reader->sampleRate(), reader->channels());
    PacketSink write;
    if (caf) {
        if (auto begun = cafWriter.begin(std::vector<std::uint8_t>(encoder->extradata,
                                                                   encoder->extradata + encoder->extradata_size),
                                         format.bitRate);
            !begun)
            return std::unexpected(begun.error());
        write = [&](AVPacket& packet) { return cafWriter.append(packet.data, packet.size); };
    } else {
        AVStream* stream = avformat_new_stream(muxer.get(), nullptr);
        if (!stream)
            return std::unexpected(Error{ENOMEM, "out of memory"});
        avcodec_parameters_from_context(stream->codecpar, encoder.get());
        stream->time_base = encoder->time_base;
        if (const int status = avio_open(&muxer->pb, file->path().c_str(), AVIO_FLAG_WRITE); status < 0)
            return std::unexpected(makeError(status, "cannot write " + destination.string()));
        if (const int status = avformat_write_header(muxer.get(), nullptr); status < 0)
            return std::unexpected(makeError(status, "cannot write " + destination.string()));
        write = [&](AVPacket& packet) -> std::expected<void, Error> {
            packet.stream_index = 0;
            av_packet_rescale_ts(&packet, encoder->time_base, muxer->streams[0]->time_base);
            if (const int status = av_interleaved_write_frame(muxer.get(), &packet); status < 0)
                return std::unexpected(makeError(status, "cannot write the sound"));
            return {};
        };
    }

    // Encoders with a fixed frame size (AAC) get exactly that many samples a frame.
    const int frameSize = encoder->frame_size > 0 ? encoder->frame_size : kSoundChunkFrames;
    detail::FramePtr frame(av_frame_alloc());
    detail::PacketPtr packet(av_packet_alloc());
    if (!frame || !packet)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    std::int64_t pts = 0;
    for (;;) {
        av_frame_unref(frame.get());
        frame->format = format.sampleFormat;
        frame->sample_rate = reader->sampleRate();
        av_channel_layout_copy(&frame->ch_layout, &reader->channelLayout());
        frame->nb_samples = frameSize;
        if (const int status = av_frame_get_buffer(frame.get(), 0); status < 0)
            return std::unexpected(makeError(status, "out of memory"));
        auto got = reader->read(frame->extended_data, frameSize);
        if (!got)
            return std::unexpected(got.error());
        if (*got == 0)
            break;
        frame->nb_samples = *got;
        frame->pts = pts;
        pts += *got;
        if (const int status = avcodec_send_frame(encoder.get(), frame.get()); status < 0)
            return std::unexpected(makeError(status, "cannot encode the sound"));
        if (auto written = writeEncoded(*encoder, *packet, write); !written)
            return std::unexpected(written.error());
    }
    avcodec_send_frame(encoder.get(), nullptr);
    if (auto written = writeEncoded(*encoder, *packet, write); !written)
        return std::unexpected(written.error());
    if (caf) {
        if (auto finished = cafWriter.finish(pts, encoder->initial_padding); !finished)
            return std::unexpected(finished.error());
    } else {
        if (const int status = av_write_trailer(muxer.get()); status < 0)
            return std::unexpected(makeError(status, "cannot finish " + destination.string()));
        if (const int status = avio_closep(&muxer->pb); status < 0)
            return std::unexpected(makeError(status, "cannot finish " + destination.string()));
    }
    if (auto committed = file->commit(); !committed)
        return std::unexpected(committed.error());
    return destination;
}

} // namespace media
