#include "media/detail/QuickTimeStreams.h"

#include "media/quicktime/detail/AtomIterator.h"
#include "media/quicktime/detail/ByteReader.h"
#include "media/quicktime/detail/Rescale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

namespace media::detail {

using quicktime::FourCC;
using quicktime::makeFourCC;
using quicktime::detail::AtomIterator;
using quicktime::detail::ByteReader;
using quicktime::detail::Bytes;
using quicktime::detail::findChild;
using quicktime::detail::rescaleRounded;

namespace {

// The widest picture a pixel aspect ratio may stretch a frame to (as for files FFmpeg opens).
constexpr float kLargestDisplaySide = 65536;

// Where the child atoms of a sample description start: after the fields of
// its kind (video 86 bytes; sound 36, 52 or 72 by its version).
std::optional<std::size_t> childrenStart(quicktime::Handler handler, const std::vector<std::uint8_t>& entry) {
    if (handler == quicktime::Handler::Video)
        return entry.size() >= 86 ? std::optional<std::size_t>(86) : std::nullopt;
    if (entry.size() < 36)
        return std::nullopt;
    const int version = (entry[16] << 8) | entry[17];
    const std::size_t start = version == 1 ? 52 : version == 2 ? 72 : 36;
    return entry.size() >= start ? std::optional<std::size_t>(start) : std::nullopt;
}

// A child atom of a sample description, also inside QuickTime's 'wave' atom
// (which wraps the MPEG-4 sound's 'esds' in .mov files).
std::optional<Bytes> descriptionChild(quicktime::Handler handler, const std::vector<std::uint8_t>& entry,
                                      FourCC type) {
    const auto start = childrenStart(handler, entry);
    if (!start)
        return std::nullopt;
    const Bytes children = Bytes(entry).subspan(*start);
    if (auto child = findChild(children, type))
        return child->body;
    if (auto wave = findChild(children, makeFourCC("wave")))
        if (auto child = findChild(wave->body, type))
            return child->body;
    return std::nullopt;
}

// An MPEG-4 descriptor's length: up to four bytes of seven bits.
std::size_t descriptorLength(ByteReader& reader) {
    std::size_t length = 0;
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t byte = reader.u8();
        length = (length << 7) | (byte & 0x7f);
        if ((byte & 0x80) == 0)
            break;
    }
    return length;
}

// The object type and decoder configuration of an 'esds' atom's body.
struct ElementaryStream final {
    int objectType = 0;
    std::vector<std::uint8_t> configuration;
};

std::optional<ElementaryStream> readElementaryStream(Bytes esds) {
    ByteReader reader(esds);
    reader.skip(4); // version and flags
    if (reader.u8() != 0x03)
        return std::nullopt;
    descriptorLength(reader);
    reader.skip(2); // ES_ID
    const std::uint8_t flags = reader.u8();
    if (flags & 0x80)
        reader.skip(2); // depends on ES_ID
    if (flags & 0x40)
        reader.skip(reader.u8()); // URL
    if (flags & 0x20)
        reader.skip(2); // OCR ES_ID
    if (reader.u8() != 0x04)
        return std::nullopt;
    descriptorLength(reader);
    ElementaryStream stream;
    stream.objectType = reader.u8();
    reader.skip(12); // stream type, buffer size, bit rates
    if (reader.ok() && reader.remaining() > 0 && reader.u8() == 0x05) {
        const std::size_t length = descriptorLength(reader);
        const Bytes info = reader.take(length);
        stream.configuration.assign(info.begin(), info.end());
    }
    if (!reader.ok())
        return std::nullopt;
    return stream;
}

struct VideoCodec final {
    const char* fourcc;
    const char* name;
    const char* configuration; // the child atom that holds the decoder's configuration, if any
};

constexpr VideoCodec kVideoCodecs[] = {
    {"avc1", "h264", "avcC"}, {"avc3", "h264", "avcC"}, {"hvc1", "hevc", "hvcC"}, {"hev1", "hevc", "hvcC"},
    {"av01", "av1", "av1C"},  {"vp09", "vp9", "vpcC"},  {"jpeg", "mjpeg", nullptr}, {"mjpa", "mjpeg", nullptr},
    {"apch", "prores", nullptr}, {"apcn", "prores", nullptr}, {"apcs", "prores", nullptr},
    {"apco", "prores", nullptr}, {"ap4h", "prores", nullptr}, {"ap4x", "prores", nullptr},
    {"png ", "png", nullptr},
};

struct SoundCodec final {
    const char* fourcc;
    const char* name;
    const char* configuration;
};

constexpr SoundCodec kSoundCodecs[] = {
    {"alac", "alac", "alac"}, {"Opus", "opus", "dOps"}, {"fLaC", "flac", "dfLa"}, {"ac-3", "ac3", "dac3"},
    {"ec-3", "eac3", "dec3"}, {"samr", "amr_nb", nullptr}, {".mp3", "mp3", nullptr},
    {"ulaw", "pcm_mulaw", nullptr}, {"alaw", "pcm_alaw", nullptr}, {"ima4", "adpcm_ima_qt", nullptr},
    {"sawb", "amr_wb", nullptr},
};

// A code written as four characters.
FourCC codeOf(const char* text) {
    return (FourCC(static_cast<std::uint8_t>(text[0])) << 24) | (FourCC(static_cast<std::uint8_t>(text[1])) << 16) |
           (FourCC(static_cast<std::uint8_t>(text[2])) << 8) | FourCC(static_cast<std::uint8_t>(text[3]));
}

bool isFourCC(FourCC code, const char* text) {
    return code == codeOf(text);
}

// PCM named by its description: FFmpeg's names for the bits the description gives.
std::optional<std::string> pcmName(FourCC code, int bits) {
    if (isFourCC(code, "sowt") || isFourCC(code, "twos")) {
        const char* order = isFourCC(code, "sowt") ? "le" : "be";
        switch (bits) {
        case 8:
            return "pcm_s8";
        case 16:
        case 24:
        case 32:
            return "pcm_s" + std::to_string(bits) + order;
        default:
            return std::nullopt;
        }
    }
    if (isFourCC(code, "raw "))
        return bits == 16 ? std::optional<std::string>("pcm_s16be") : std::optional<std::string>("pcm_u8");
    if (isFourCC(code, "in24"))
        return "pcm_s24be";
    if (isFourCC(code, "in32"))
        return "pcm_s32be";
    if (isFourCC(code, "fl32"))
        return "pcm_f32be";
    if (isFourCC(code, "fl64"))
        return "pcm_f64be";
    return std::nullopt;
}

// The codec of the track's first sample description by its code in
// codecs, with the configuration record the table names for it.
template <typename Codecs>
void takeCodec(const Codecs& codecs, const quicktime::TrackIndex& track, StreamDescription& stream) {
    const auto& entry = track.sampleDescriptions.front();
    for (const auto& codec : codecs) {
        if (!isFourCC(stream.codecTag, codec.fourcc))
            continue;
        stream.codecName = codec.name;
        if (codec.configuration)
            if (auto record = descriptionChild(track.handler, entry, codeOf(codec.configuration)))
                stream.configuration.assign(record->begin(), record->end());
        return;
    }
}

// The MPEG-4 elementary stream the first sample description's 'esds' describes.
std::optional<ElementaryStream> elementaryStreamOf(const quicktime::TrackIndex& track) {
    const auto esds =
        descriptionChild(track.handler, track.sampleDescriptions.front(), makeFourCC("esds"));
    return esds ? readElementaryStream(*esds) : std::nullopt;
}

bool describeVideo(const quicktime::TrackIndex& track, StreamDescription& stream) {
    const auto& entry = track.sampleDescriptions.front();
    if (entry.size() < 86)
        return false;
    stream.width = (entry[32] << 8) | entry[33];
    stream.height = (entry[34] << 8) | entry[35];
    const FourCC code = stream.codecTag;
    takeCodec(kVideoCodecs, track, stream);
    if (isFourCC(code, "mp4v")) {
        const auto elementary = elementaryStreamOf(track);
        if (!elementary || elementary->objectType != 0x20)
            return false;
        stream.codecName = "mpeg4";
        stream.configuration = elementary->configuration;
    }
    if (stream.codecName.empty() || stream.width <= 0 || stream.height <= 0)
        return false;

    // The display matrix may turn the picture a quarter turn at a time; any
    // other transform is left to FFmpeg.
    const quicktime::Matrix& m = track.matrix;
    const auto unit = [](std::int32_t value) { return value == 0x10000 || value == -0x10000; };
    const bool straight = unit(m[0]) && unit(m[4]) && m[1] == 0 && m[3] == 0;
    const bool turned = unit(m[1]) && unit(m[3]) && m[0] == 0 && m[4] == 0;
    if (!straight && !turned)
        return false;
    if (straight && (m[0] != m[4]))
        return false; // a mirror
    if (turned && m[1] != -m[3])
        return false;
    const double degrees = std::atan2(static_cast<double>(m[1]), static_cast<double>(m[0])) * 180.0 / M_PI;
    stream.clockwiseRotation = static_cast<int>(((std::lround(degrees / 90.0) % 4) + 4) % 4) * 90;

    float width = static_cast<float>(stream.width);
    const float height = static_cast<float>(stream.height);
    if (const auto pasp = descriptionChild(track.handler, entry, makeFourCC("pasp")); pasp && pasp->size() >= 8) {
        ByteReader reader(*pasp);
        const std::uint32_t horizontal = reader.u32();
        const std::uint32_t vertical = reader.u32();
        if (horizontal > 0 && vertical > 0 && horizontal != vertical) {
            const float shown = std::round(width * static_cast<float>(horizontal) / static_cast<float>(vertical));
            if (shown >= 1 && shown <= kLargestDisplaySide)
                width = shown;
        }
    }
    stream.displaySize = stream.clockwiseRotation % 180 == 90 ? Size{height, width} : Size{width, height};
    return true;
}

bool describeSound(const quicktime::TrackIndex& track, StreamDescription& stream) {
    const auto& entry = track.sampleDescriptions.front();
    if (entry.size() < 36)
        return false;
    ByteReader reader(entry);
    reader.skip(16);
    const int version = reader.u16();
    reader.skip(6);
    stream.channels = reader.u16();
    const int bits = reader.u16();
    reader.skip(4);
    stream.sampleRate = static_cast<int>(reader.u32() >> 16);
    if (version == 2)
        return false; // rates and formats only a version 2 description tells: FFmpeg's to read
    const FourCC code = stream.codecTag;
    takeCodec(kSoundCodecs, track, stream);
    if (isFourCC(code, "mp4a")) {
        const auto elementary = elementaryStreamOf(track);
        if (!elementary)
            return false;
        if (elementary->objectType == 0x40 || (elementary->objectType >= 0x66 && elementary->objectType <= 0x68))
            stream.codecName = "aac";
        else if (elementary->objectType == 0x69 || elementary->objectType == 0x6b)
            stream.codecName = "mp3";
        else
            return false;
        stream.configuration = elementary->configuration;
    }
    if (stream.codecName.empty()) {
        // Little-endian integer and float formats are marked by an 'enda' atom: FFmpeg's to read.
        if (descriptionChild(track.handler, entry, makeFourCC("enda")))
            return false;
        auto name = pcmName(code, bits);
        if (!name)
            return false;
        stream.codecName = *name;
        stream.isPcm = true;
    }
    return stream.sampleRate > 0 && stream.channels > 0;
}

bool describeText(const quicktime::TrackIndex& track, StreamDescription& stream) {
    (void)track;
    if (isFourCC(stream.codecTag, "tx3g"))
        stream.codecName = "mov_text";
    else if (isFourCC(stream.codecTag, "text"))
        stream.codecName = "text";
    else
        return false;
    return true;
}

// Where FFmpeg's reader presents a track: its leading empty edit becomes a
// late start, and the one edit that shows samples its length; a track
// without an edit list plays its media from the start.
bool placeInTime(const quicktime::SourceIndex& index, const quicktime::TrackIndex& track,
                 StreamDescription& stream) {
    const std::int64_t scale = track.mediaTimeScale;
    std::int64_t lead = 0;
    std::optional<quicktime::EditListEntry> shown;
    for (const quicktime::EditListEntry& edit : track.editList) {
        if (edit.isEmpty()) {
            if (shown)
                return false; // a gap inside the track
            lead += edit.duration;
            continue;
        }
        if (shown || edit.mediaRate != 0x10000 || edit.mediaTime < 0)
            return false; // several media edits, or media played at another rate
        shown = edit;
    }
    if (!track.editList.empty() && !shown)
        return false;
    const std::int64_t start = rescaleRounded(lead, scale, index.movieTimeScale);
    std::int64_t length = 0;
    if (shown) {
        length = rescaleRounded(shown->duration, scale, index.movieTimeScale);
        if (shown->duration == 0) // an edit of zero length shows the media to its end
            length = track.samples.totalDuration() - shown->mediaTime;
    } else {
        length = track.samples.totalDuration();
    }
    // No longer than the media header says the media lasts.
    if (track.mediaDuration > 0)
        length = std::min<std::int64_t>(length, static_cast<std::int64_t>(track.mediaDuration));
    if (length < 0)
        return false;
    stream.range = makeTimeRange(makeTime(start, static_cast<std::int32_t>(scale)),
                                 makeTime(length, static_cast<std::int32_t>(scale)));
    return true;
}

} // namespace

std::optional<std::vector<StreamDescription>> describeQuickTimeStreams(const quicktime::SourceIndex& index) {
    if (index.hasGaplessTag || index.hasChapterList || index.movieTimeScale <= 0)
        return std::nullopt;
    std::vector<StreamDescription> streams;
    bool anyUsable = false;
    for (const quicktime::TrackIndex& track : index.tracks) {
        if (!track.chapterTrackIds.empty())
            return std::nullopt; // chapters: FFmpeg reads them and hides their track
        StreamDescription stream;
        const bool media = track.handler == quicktime::Handler::Video ||
                           track.handler == quicktime::Handler::Sound ||
                           track.handler == quicktime::Handler::Text ||
                           track.handler == quicktime::Handler::Subtitle;
        if (!media) {
            streams.push_back(stream); // a timecode, hint or metadata track: never a movie's track
            continue;
        }
        if (track.sampleDescriptions.size() != 1 || track.samples.empty() || track.mediaTimeScale <= 0)
            return std::nullopt;
        stream.codecTag = track.codec(0);
        stream.timeScale = track.mediaTimeScale;
        bool described = false;
        switch (track.handler) {
        case quicktime::Handler::Video:
            stream.mediaType = MediaType::Video;
            described = describeVideo(track, stream);
            break;
        case quicktime::Handler::Sound:
            stream.mediaType = MediaType::Sound;
            described = describeSound(track, stream);
            break;
        default:
            stream.mediaType = MediaType::Text;
            described = describeText(track, stream);
            break;
        }
        if (!described || !placeInTime(index, track, stream))
            return std::nullopt;
        stream.usable = true;
        anyUsable = true;
        streams.push_back(std::move(stream));
    }
    if (!anyUsable)
        return std::nullopt;
    return streams;
}

bool sameDescribedParameters(const StreamDescription& a, const StreamDescription& b) {
    if (a.mediaType != b.mediaType || a.codecName != b.codecName || a.codecTag != b.codecTag)
        return false;
    if (a.mediaType == MediaType::Video)
        return a.width == b.width && a.height == b.height && !a.configuration.empty() &&
               a.configuration == b.configuration;
    if (a.mediaType == MediaType::Sound)
        return a.sampleRate == b.sampleRate && a.channels == b.channels &&
               (a.isPcm || (!a.configuration.empty() && a.configuration == b.configuration));
    return false;
}

bool looksLikeQuickTime(const std::uint8_t* bytes, std::size_t size) {
    if (size < 8)
        return false;
    const std::string_view type(reinterpret_cast<const char*>(bytes) + 4, 4);
    return type == "ftyp" || type == "moov" || type == "mdat" || type == "wide" || type == "free" ||
           type == "skip" || type == "pnot";
}

} // namespace media::detail
