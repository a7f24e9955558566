// The export components are the useful output formats among FFmpeg's muxers:
// each is offered only when this build has its muxer and an encoder for every
// kind of media it writes, and it offers only the encoders the muxer can hold.
// Network, test, null and image-sequence muxers are never candidates.

#include "media/ExportComponent.h"

#include "media/detail/FFmpeg.h"

#include <algorithm>
#include <cerrno>

namespace media {

namespace {

struct Candidate final {
    const char* name;
    const char* info;
    const char* muxer;
    const char* extension;
    FourCharCode subtype;
    bool hasChapters;
    std::vector<std::string> videoEncoders; // none: sound only
    std::vector<std::string> audioEncoders; // none: pictures only
};

const std::vector<Candidate>& candidates() {
    // One row per format reads better than one field per line.
    // clang-format off
    static const std::vector<Candidate> list{
        {"QuickTime Movie", "A QuickTime movie: H.264 or MPEG-4 video, AAC, Apple Lossless or PCM sound, chapters",
         "mov", "mov", makeFourCharCode("MooV"), true, {"libx264", "mpeg4"}, {"aac", "alac", "pcm_s16be"}},
        {"MPEG-4", "An MPEG-4 movie: H.264 or MPEG-4 video, AAC or MP3 sound, chapters", "mp4", "mp4",
         makeFourCharCode("mpg4"), true, {"libx264", "mpeg4"}, {"aac", "libmp3lame"}},
        {"Matroska", "A Matroska movie: H.264, VP9 or MPEG-4 video, AAC, Opus, Vorbis or FLAC sound, chapters",
         "matroska", "mkv", makeFourCharCode("MkvF"), true, {"libx264", "libvpx-vp9", "mpeg4"},
         {"aac", "libopus", "libvorbis", "flac"}},
        {"WebM", "A WebM movie for the web: VP9 or VP8 video, Opus or Vorbis sound, chapters", "webm", "webm",
         makeFourCharCode("WebM"), true, {"libvpx-vp9", "libvpx"}, {"libopus", "libvorbis"}},
        {"AVI", "An AVI movie: MPEG-4 video, MP3 or PCM sound", "avi", "avi", makeFourCharCode("VfW "), false,
         {"mpeg4"}, {"libmp3lame", "pcm_s16le"}},
        {"MPEG Transport Stream", "An MPEG transport stream: H.264 or MPEG-2 video, AAC or MPEG audio sound",
         "mpegts", "ts", makeFourCharCode("MP2T"), false, {"libx264", "mpeg2video"}, {"aac", "mp2"}},
        {"Animated GIF", "An animated GIF picture of the movie's video, without sound", "gif", "gif",
         makeFourCharCode("GIFf"), false, {"gif"}, {}},
        {"Wave", "A WAVE sound file: 16-bit PCM", "wav", "wav", makeFourCharCode("WAVE"), false, {}, {"pcm_s16le"}},
        {"AIFF", "An AIFF sound file: 16-bit PCM", "aiff", "aiff", makeFourCharCode("AIFF"), false, {},
         {"pcm_s16be"}},
        // FFmpeg's CAF muxer lists AAC but cannot write its header.
        {"Core Audio Format", "A Core Audio Format sound file: PCM or Apple Lossless", "caf", "caf",
         makeFourCharCode("caff"), false, {}, {"pcm_s16be", "alac"}},
        {"MP3", "An MP3 sound file", "mp3", "mp3", makeFourCharCode("MPG3"), false, {}, {"libmp3lame"}},
        {"FLAC", "A FLAC sound file: lossless", "flac", "flac", makeFourCharCode("flac"), false, {}, {"flac"}},
        {"Ogg", "An Ogg sound file: Vorbis, Opus or FLAC", "ogg", "ogg", makeFourCharCode("OggS"), false, {},
         {"libvorbis", "libopus", "flac"}},
        {"MPEG-4 Audio", "An MPEG-4 sound file: AAC or Apple Lossless", "ipod", "m4a", makeFourCharCode("M4A "),
         false, {}, {"aac", "alac"}},
    };
    // clang-format on
    return list;
}

// The encoders of the list that FFmpeg has and the muxer can hold.
std::vector<std::string> usableEncoders(const AVOutputFormat* format, const std::vector<std::string>& names,
                                        AVMediaType type) {
    std::vector<std::string> usable;
    for (const std::string& name : names) {
        const AVCodec* encoder = avcodec_find_encoder_by_name(name.c_str());
        // A muxer without a table of codecs answers "not known" (negative): it is then tried by the tests.
        if (encoder && encoder->type == type &&
            avformat_query_codec(format, encoder->id, FF_COMPLIANCE_NORMAL) != 0)
            usable.push_back(name);
    }
    return usable;
}

std::vector<ExportComponent> discover() {
    std::vector<ExportComponent> found;
    for (const Candidate& candidate : candidates()) {
        const AVOutputFormat* format = av_guess_format(candidate.muxer, nullptr, nullptr);
        if (!format || std::string_view(format->name) != candidate.muxer || (format->flags & AVFMT_NOFILE))
            continue;
        ExportComponent component;
        component.name = candidate.name;
        component.info = candidate.info;
        component.extension = candidate.extension;
        component.subtype = candidate.subtype;
        component.manufacturer = kFFmpegManufacturer;
        component.container = candidate.muxer;
        component.hasChapters = candidate.hasChapters;
        component.videoEncoders = usableEncoders(format, candidate.videoEncoders, AVMEDIA_TYPE_VIDEO);
        component.audioEncoders = usableEncoders(format, candidate.audioEncoders, AVMEDIA_TYPE_AUDIO);
        component.writesVideo = !candidate.videoEncoders.empty();
        component.writesSound = !candidate.audioEncoders.empty();
        if ((component.writesVideo && component.videoEncoders.empty()) ||
            (component.writesSound && component.audioEncoders.empty()))
            continue;
        // Every component has something to choose: encoders, rates, size.
        component.hasSettingsDialog = true;
        found.push_back(std::move(component));
    }
    return found;
}

bool offers(const std::vector<std::string>& encoders, const std::string& name) {
    return name.empty() || std::find(encoders.begin(), encoders.end(), name) != encoders.end();
}

} // namespace

std::string fourCharCodeText(FourCharCode code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
        if (const char c = static_cast<char>((code >> shift) & 0xff); c != '\0')
            text.push_back(c);
    return text;
}

const std::vector<ExportComponent>& exportComponents() {
    static const std::vector<ExportComponent> found = discover();
    return found;
}

std::optional<ExportComponent> findExportComponent(FourCharCode subtype, FourCharCode manufacturer) {
    for (const ExportComponent& component : exportComponents())
        if (component.subtype == subtype && component.manufacturer == manufacturer)
            return component;
    return std::nullopt;
}

std::expected<void, Error> checkExportSettings(const ExportComponent& component,
                                               const ExportSettings& settings) {
    if (!offers(component.videoEncoders, settings.videoEncoder))
        return std::unexpected(
            Error{EINVAL, component.name + " offers no video encoder \"" + settings.videoEncoder + "\""});
    if (!offers(component.audioEncoders, settings.audioEncoder))
        return std::unexpected(
            Error{EINVAL, component.name + " offers no sound encoder \"" + settings.audioEncoder + "\""});
    return {};
}

} // namespace media
