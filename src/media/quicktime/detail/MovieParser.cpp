#include "media/quicktime/detail/MovieParser.h"

#include "media/detail/Gapless.h"
#include "media/quicktime/detail/AtomIterator.h"
#include "media/quicktime/detail/EntryCount.h"
#include "media/quicktime/detail/IndexErrors.h"
#include "media/quicktime/detail/Rescale.h"
#include "media/quicktime/detail/SampleTableParser.h"

#include <bit>
#include <cmath>
#include <optional>
#include <string>

namespace media::quicktime::detail {

namespace {

// Reads a version byte and three flag bytes; answers the version.
std::uint8_t versionAndFlags(ByteReader& reader, std::uint32_t* flags = nullptr) {
    const std::uint8_t version = reader.u8();
    const std::uint32_t value = reader.u24();
    if (flags)
        *flags = value;
    return version;
}

// The time scale and duration of a movie or media header, which follow the
// creation and modification times (64-bit in version 1, else 32-bit).
struct HeaderTiming final {
    std::int32_t timeScale = 0;
    std::uint64_t duration = 0;
};

HeaderTiming readHeaderTiming(ByteReader& reader) {
    const bool wide = versionAndFlags(reader) == 1;
    reader.skip(wide ? 16 : 8);
    HeaderTiming timing;
    timing.timeScale = reader.i32();
    timing.duration = wide ? reader.u64() : reader.u32();
    return timing;
}

std::expected<void, Error> readMovieHeader(Bytes body, SourceIndex& index) {
    ByteReader reader(body);
    const HeaderTiming timing = readHeaderTiming(reader);
    index.movieTimeScale = timing.timeScale;
    index.movieDuration = timing.duration;
    if (!reader.ok())
        return std::unexpected(damaged("the movie header is cut short"));
    if (index.movieTimeScale <= 0)
        return std::unexpected(damaged("the movie has no time scale"));
    return {};
}

std::expected<void, Error> readTrackHeader(Bytes body, TrackIndex& track) {
    ByteReader reader(body);
    if (versionAndFlags(reader, &track.flags) == 1) {
        reader.skip(16);
        track.trackId = reader.u32();
        reader.skip(4);
        track.duration = reader.u64();
    } else {
        reader.skip(8);
        track.trackId = reader.u32();
        reader.skip(4);
        track.duration = reader.u32();
    }
    reader.skip(8);
    track.layer = reader.i16();
    track.alternateGroup = reader.i16();
    track.volume = reader.i16();
    reader.skip(2);
    for (auto& value : track.matrix)
        value = reader.i32();
    track.width = reader.u32();
    track.height = reader.u32();
    if (!reader.ok())
        return std::unexpected(damaged("a track header is cut short"));
    return {};
}

std::expected<void, Error> readEditList(Bytes body, TrackIndex& track) {
    ByteReader reader(body);
    const bool wide = versionAndFlags(reader) == 1;
    const auto count = readEntryCount(reader, wide ? 20 : 12, "an edit list");
    if (!count)
        return std::unexpected(count.error());
    track.editList.reserve(*count);
    for (std::uint32_t i = 0; i < *count; ++i) {
        EditListEntry entry;
        entry.duration = wide ? static_cast<std::int64_t>(reader.u64()) : reader.u32();
        entry.mediaTime = wide ? reader.i64() : reader.i32();
        entry.mediaRate = reader.i32();
        track.editList.push_back(entry);
    }
    return {};
}

std::expected<void, Error> readMediaHeader(Bytes body, TrackIndex& track) {
    ByteReader reader(body);
    const HeaderTiming timing = readHeaderTiming(reader);
    track.mediaTimeScale = timing.timeScale;
    track.mediaDuration = timing.duration;
    track.language = reader.u16();
    if (!reader.ok())
        return std::unexpected(damaged("a media header is cut short"));
    return {};
}

void readHandler(Bytes body, TrackIndex& track) {
    ByteReader reader(body);
    reader.skip(4 + 4); // version, flags, and QuickTime's component type ('mhlr') or zero
    track.handlerType = reader.u32();
    track.handler = handlerOf(track.handlerType);
}

std::expected<void, Error> readDataReferences(Bytes dinf, TrackIndex& track) {
    const auto dref = findChild(dinf, makeFourCC("dref"));
    if (!dref)
        return {};
    ByteReader reader(dref->body);
    reader.skip(4);
    const auto count = readEntryCount(reader, 12, "the data reference table");
    if (!count)
        return std::unexpected(count.error());
    AtomIterator entries(reader.take(reader.remaining()));
    for (std::uint32_t i = 0; i < *count; ++i) {
        auto entry = entries.next();
        if (!entry || entry->body.size() < 4)
            return std::unexpected(damaged("a data reference is cut short"));
        DataReference reference;
        reference.type = entry->type;
        reference.selfContained = (entry->body[3] & 1) != 0;
        reference.data.assign(entry->body.begin() + 4, entry->body.end());
        track.dataReferences.push_back(std::move(reference));
    }
    return {};
}

// Sample descriptions name their data reference (1-based) at bytes 14-15.
bool descriptionIsElsewhere(const TrackIndex& track, std::size_t description) {
    const auto& entry = track.sampleDescriptions[description];
    const std::size_t reference = (std::size_t(entry[14]) << 8) | entry[15];
    return reference >= 1 && reference <= track.dataReferences.size() &&
           !track.dataReferences[reference - 1].selfContained;
}

std::expected<void, Error> checkSamplesAreHere(const TrackIndex& track, std::uint64_t fileSize,
                                               bool elsewhereAllowed) {
    std::vector<bool> elsewhere(track.sampleDescriptions.size());
    for (std::size_t d = 0; d < elsewhere.size(); ++d)
        elsewhere[d] = descriptionIsElsewhere(track, d);
    const SampleList& samples = track.samples;
    for (std::size_t i = 0; i < samples.count(); ++i) {
        if (elsewhere[samples.descriptionIndex(i)]) {
            if (elsewhereAllowed)
                continue; // checked against the file it is in when that is opened
            return std::unexpected(unsupported("its samples are in other files"));
        }
        if (samples.offset(i) > fileSize || samples.byteSize(i) > fileSize - samples.offset(i))
            return std::unexpected(damaged("sample data lies beyond the end of the file"));
    }
    return {};
}

bool isMediaInformationHeader(FourCC type) {
    return type == makeFourCC("vmhd") || type == makeFourCC("smhd") || type == makeFourCC("gmhd") ||
           type == makeFourCC("nmhd") || type == makeFourCC("sthd") || type == makeFourCC("hmhd");
}

// Keeps a whole atom (header included) as bytes, with a 32-bit size.
std::vector<std::uint8_t> wholeAtom(const Atom& atom) {
    const std::uint64_t size = atom.body.size() + 8;
    std::vector<std::uint8_t> bytes;
    if (size > UINT32_MAX)
        return bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(size >> shift));
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.push_back(static_cast<std::uint8_t>(atom.type >> shift));
    bytes.insert(bytes.end(), atom.body.begin(), atom.body.end());
    return bytes;
}

void readChapterReferences(Bytes tref, TrackIndex& track) {
    const auto chap = findChild(tref, makeFourCC("chap"));
    if (!chap)
        return;
    ByteReader reader(chap->body);
    while (reader.remaining() >= 4)
        track.chapterTrackIds.push_back(reader.u32());
}

std::expected<TrackIndex, Error> readTrack(Bytes trak, ParseLimits& limits) {
    TrackIndex track;
    std::optional<Bytes> mdia;
    AtomIterator atoms(trak);
    while (auto atom = atoms.next()) {
        std::expected<void, Error> read;
        if (atom->type == makeFourCC("tkhd"))
            read = readTrackHeader(atom->body, track);
        else if (atom->type == makeFourCC("edts")) {
            if (auto elst = findChild(atom->body, makeFourCC("elst")))
                read = readEditList(elst->body, track);
        } else if (atom->type == makeFourCC("tref"))
            readChapterReferences(atom->body, track);
        else if (atom->type == makeFourCC("mdia"))
            mdia = atom->body;
        if (!read)
            return std::unexpected(read.error());
    }
    if (atoms.damaged())
        return std::unexpected(damaged("an atom of a track overruns it"));
    if (!mdia)
        return track; // a track without media has no samples

    std::optional<Bytes> minf;
    AtomIterator media(*mdia);
    while (auto atom = media.next()) {
        if (atom->type == makeFourCC("mdhd")) {
            if (auto read = readMediaHeader(atom->body, track); !read)
                return std::unexpected(read.error());
        } else if (atom->type == makeFourCC("hdlr")) {
            readHandler(atom->body, track);
        } else if (atom->type == makeFourCC("minf")) {
            minf = atom->body;
        }
    }
    if (media.damaged())
        return std::unexpected(damaged("an atom of a track's media overruns it"));
    if (!minf)
        return track;

    std::optional<Bytes> stbl;
    AtomIterator information(*minf);
    while (auto atom = information.next()) {
        if (isMediaInformationHeader(atom->type) && track.mediaInformationHeader.empty())
            track.mediaInformationHeader = wholeAtom(*atom);
        else if (atom->type == makeFourCC("dinf")) {
            if (auto read = readDataReferences(atom->body, track); !read)
                return std::unexpected(read.error());
        } else if (atom->type == makeFourCC("stbl"))
            stbl = atom->body;
    }
    if (information.damaged())
        return std::unexpected(damaged("an atom of a track's media information overruns it"));
    if (!stbl)
        return track;
    if (auto read = parseSampleTable(*stbl, track, limits); !read)
        return std::unexpected(read.error());
    if (!track.samples.empty() && track.mediaTimeScale <= 0)
        return std::unexpected(damaged("a track with samples has no time scale"));
    if (auto here = checkSamplesAreHere(track, limits.fileSize, limits.samplesElsewhereAllowed); !here)
        return std::unexpected(here.error());
    return track;
}

// iTunes' gapless tag, from the user data's metadata list: a '----' item
// whose 'name' is "iTunSMPB" and whose 'data' holds the text.
std::optional<media::detail::Gapless> readGapless(Bytes udta) {
    const auto meta = findChild(udta, makeFourCC("meta"));
    if (!meta || meta->body.size() < 4)
        return std::nullopt;
    // MPEG-4's 'meta' has a version and flags before its children; QuickTime's does not.
    const auto ilst = findChild(meta->body.subspan(4), makeFourCC("ilst")).or_else([&] {
        return findChild(meta->body, makeFourCC("ilst"));
    });
    if (!ilst)
        return std::nullopt;
    AtomIterator items(ilst->body);
    while (auto item = items.next()) {
        if (item->type != makeFourCC("----"))
            continue;
        const auto name = findChild(item->body, makeFourCC("name"));
        const auto data = findChild(item->body, makeFourCC("data"));
        if (!name || !data || name->body.size() < 4 || data->body.size() < 8 ||
            std::string(name->body.begin() + 4, name->body.end()) != "iTunSMPB")
            continue;
        return media::detail::parseGapless(std::string(data->body.begin() + 8, data->body.end()).c_str());
    }
    return std::nullopt;
}

// The sample rate a sound description gives: 16.16 fixed point, or in
// version 2 (rates beyond 65535 Hz) a 64-bit float after it. 0 when absent.
std::int64_t soundSampleRate(const std::vector<std::uint8_t>& description) {
    ByteReader reader(description);
    reader.skip(16);
    const std::uint16_t version = reader.u16();
    reader.skip(14);
    const std::uint32_t fixed = reader.u32();
    if (version != 2)
        return reader.ok() ? fixed >> 16 : 0;
    reader.skip(4);
    const std::uint64_t bits = reader.u64();
    const double rate = std::bit_cast<double>(bits);
    return reader.ok() && rate >= 1 && rate < 1e7 ? std::llround(rate) : 0;
}

// A sound track without an edit list plays from its first sample; the gapless
// tag, when the file has one, says how much of it is priming and padding: an
// edit list that leaves them out stands in for the missing one. The tag
// counts samples at the sound's rate, which the track's time scale need not be.
void applyGapless(const media::detail::Gapless& gapless, SourceIndex& index) {
    for (TrackIndex& track : index.tracks) {
        if (track.handler != Handler::Sound || !track.editList.empty() || track.samples.empty() ||
            track.sampleDescriptions.empty() || track.sampleDescriptions.front().size() < 36 ||
            track.mediaTimeScale <= 0 ||
            (track.codec(0) != makeFourCC("mp4a") && track.codec(0) != makeFourCC(".mp3")))
            continue;
        const std::int64_t sampleRate = soundSampleRate(track.sampleDescriptions.front());
        if (sampleRate <= 0)
            continue;
        const std::int64_t total =
            rescaleRounded(track.samples.totalDuration(), sampleRate, track.mediaTimeScale);
        const auto length = media::detail::keptSamples(gapless, total);
        if (!length)
            continue;
        track.editList.push_back(
            EditListEntry{rescaleRounded(*length, index.movieTimeScale, sampleRate),
                          rescaleRounded(gapless.priming, track.mediaTimeScale, sampleRate), 0x10000});
    }
}

} // namespace

std::expected<SourceIndex, Error> parseMovie(Bytes body, std::uint64_t fileSize,
                                             bool samplesElsewhereAllowed) {
    SourceIndex index;
    index.fileSize = fileSize;
    ParseLimits limits{fileSize, fileSize / 8, samplesElsewhereAllowed};
    bool haveHeader = false;
    std::optional<media::detail::Gapless> gapless;
    AtomIterator atoms(body);
    while (auto atom = atoms.next()) {
        switch (atom->type) {
        case makeFourCC("mvhd"):
            if (auto read = readMovieHeader(atom->body, index); !read)
                return std::unexpected(read.error());
            haveHeader = true;
            break;
        case makeFourCC("trak"): {
            auto track = readTrack(atom->body, limits);
            if (!track)
                return std::unexpected(track.error());
            index.tracks.push_back(std::move(*track));
            break;
        }
        case makeFourCC("udta"):
            gapless = readGapless(atom->body);
            index.hasGaplessTag = index.hasGaplessTag || gapless.has_value();
            index.hasChapterList = index.hasChapterList || findChild(atom->body, makeFourCC("chpl")).has_value();
            break;
        case makeFourCC("mvex"):
            return std::unexpected(unsupported("it is a fragmented MPEG-4 file"));
        case makeFourCC("cmov"):
            return std::unexpected(unsupported("its movie header is compressed"));
        default:
            break;
        }
    }
    if (atoms.damaged())
        return std::unexpected(damaged("an atom of the movie header overruns it"));
    if (!haveHeader)
        return std::unexpected(damaged("the movie header is missing"));
    if (gapless)
        applyGapless(*gapless, index);
    return index;
}

} // namespace media::quicktime::detail
