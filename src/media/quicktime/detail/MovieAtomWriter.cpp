#include "media/quicktime/detail/MovieAtomWriter.h"

#include "media/quicktime/detail/SampleTableWriter.h"

#include <string>

namespace media::quicktime::detail {

namespace {

bool needsWideTimes(std::uint64_t value) {
    return value > UINT32_MAX;
}

void writeTimesAndScale(AtomStream& out, bool wide, std::uint64_t creationTime, std::int32_t scale,
                        std::uint64_t duration) {
    if (wide) {
        out.u64(creationTime);
        out.u64(creationTime);
        out.u32(static_cast<std::uint32_t>(scale));
        out.u64(duration);
    } else {
        out.u32(static_cast<std::uint32_t>(creationTime));
        out.u32(static_cast<std::uint32_t>(creationTime));
        out.u32(static_cast<std::uint32_t>(scale));
        out.u32(static_cast<std::uint32_t>(duration));
    }
}

void writeMatrix(AtomStream& out, const Matrix& matrix) {
    for (std::int32_t value : matrix)
        out.u32(static_cast<std::uint32_t>(value));
}

void writeMovieHeader(AtomStream& out, const FileLayout& layout, std::uint64_t creationTime) {
    const std::uint64_t duration = static_cast<std::uint64_t>(layout.duration());
    const bool wide = needsWideTimes(duration) || needsWideTimes(creationTime);
    const auto mvhd = out.beginFull(makeFourCC("mvhd"), wide ? 1 : 0, 0);
    writeTimesAndScale(out, wide, creationTime, layout.movieTimeScale, duration);
    out.u32(0x00010000); // preferred rate
    out.u16(0x0100);     // preferred volume
    out.zeros(10);
    writeMatrix(out, kIdentityMatrix);
    out.zeros(2 * 4); // preview time and duration
    // The poster time is a 32-bit field in either version: one past it is kept at the start.
    const bool posterFits = layout.posterTime > 0 && static_cast<std::uint64_t>(layout.posterTime) <= 0xffffffffu;
    out.u32(posterFits ? static_cast<std::uint32_t>(layout.posterTime) : 0);
    out.zeros(3 * 4); // selection time and duration, current time
    out.u32(static_cast<std::uint32_t>(layout.tracks.size() + 1)); // next track id
    out.end(mvhd);
}

void writeTrackHeader(AtomStream& out, const TrackLayout& track, std::uint64_t creationTime) {
    const std::uint64_t duration = static_cast<std::uint64_t>(track.duration());
    const bool wide = needsWideTimes(duration) || needsWideTimes(creationTime);
    // In the movie (2), and enabled (1) unless it is to be hidden, as chapter tracks are.
    const std::uint32_t flags = track.attributes.enabled ? 3 : 2;
    const auto tkhd = out.beginFull(makeFourCC("tkhd"), wide ? 1 : 0, flags);
    if (wide) {
        out.u64(creationTime);
        out.u64(creationTime);
    } else {
        out.u32(static_cast<std::uint32_t>(creationTime));
        out.u32(static_cast<std::uint32_t>(creationTime));
    }
    out.u32(track.trackId);
    out.u32(0);
    if (wide)
        out.u64(duration);
    else
        out.u32(static_cast<std::uint32_t>(duration));
    out.zeros(8);
    out.u16(0); // layer
    out.u16(0); // alternate group: none, so players play every sound track (a referring movie has several)
    out.u16(static_cast<std::uint16_t>(track.attributes.volume));
    out.u16(0);
    writeMatrix(out, track.attributes.matrix);
    out.u32(track.attributes.width);
    out.u32(track.attributes.height);
    out.end(tkhd);
}

void writeEditList(AtomStream& out, const TrackLayout& track) {
    if (track.editList.empty())
        return;
    bool wide = false;
    for (const EditListEntry& entry : track.editList)
        wide =
            wide || needsWideTimes(static_cast<std::uint64_t>(entry.duration)) || entry.mediaTime > INT32_MAX;
    const auto edts = out.begin(makeFourCC("edts"));
    const auto elst = out.beginFull(makeFourCC("elst"), wide ? 1 : 0, 0);
    out.u32(static_cast<std::uint32_t>(track.editList.size()));
    for (const EditListEntry& entry : track.editList) {
        if (wide) {
            out.u64(static_cast<std::uint64_t>(entry.duration));
            out.u64(static_cast<std::uint64_t>(entry.mediaTime));
        } else {
            out.u32(static_cast<std::uint32_t>(entry.duration));
            out.u32(static_cast<std::uint32_t>(static_cast<std::int32_t>(entry.mediaTime)));
        }
        out.u32(static_cast<std::uint32_t>(entry.mediaRate));
    }
    out.end(elst);
    out.end(edts);
}

void writeTrackReference(AtomStream& out, const TrackLayout& track) {
    if (track.chapterTrackId == 0)
        return;
    const auto tref = out.begin(makeFourCC("tref"));
    const auto chap = out.begin(makeFourCC("chap"));
    out.u32(track.chapterTrackId);
    out.end(chap);
    out.end(tref);
}

std::string handlerName(const TrackLayout& track) {
    switch (track.attributes.handlerType) {
    case makeFourCC("vide"):
        return "VideoHandler";
    case makeFourCC("soun"):
        return "SoundHandler";
    case makeFourCC("text"):
        return track.isChapterTrack ? "ChapterHandler" : "TextHandler";
    default:
        return "MediaHandler";
    }
}

// QuickTime's handler atom names a component type and writes a counted name;
// MPEG-4's has a zero there and ends its name with a zero byte.
void writeHandler(AtomStream& out, OutputKind kind, FourCC componentType, FourCC subtype,
                  const std::string& name) {
    const auto hdlr = out.beginFull(makeFourCC("hdlr"), 0, 0);
    const bool quickTime = kind == OutputKind::QuickTime;
    out.u32(quickTime ? componentType : 0);
    out.fourCC(subtype);
    out.zeros(12);
    if (quickTime) {
        out.u8(static_cast<std::uint8_t>(name.size()));
        out.text(name);
    } else {
        out.text(name);
        out.u8(0);
    }
    out.end(hdlr);
}

void writeMediaHeader(AtomStream& out, const TrackLayout& track, std::uint64_t creationTime) {
    const std::uint64_t duration = static_cast<std::uint64_t>(track.mediaDuration());
    const bool wide = needsWideTimes(duration) || needsWideTimes(creationTime);
    const auto mdhd = out.beginFull(makeFourCC("mdhd"), wide ? 1 : 0, 0);
    writeTimesAndScale(out, wide, creationTime, track.attributes.mediaTimeScale, duration);
    out.u16(track.attributes.language);
    out.u16(0); // quality
    out.end(mdhd);
}

void writeMediaInformationHeader(AtomStream& out, const TrackLayout& track) {
    if (!track.mediaInformationHeader.empty()) {
        out.bytes(track.mediaInformationHeader);
        return;
    }
    switch (track.attributes.handlerType) {
    case makeFourCC("vide"): {
        const auto vmhd = out.beginFull(makeFourCC("vmhd"), 0, 1);
        out.zeros(8); // graphics mode and opcolor
        out.end(vmhd);
        break;
    }
    case makeFourCC("soun"): {
        const auto smhd = out.beginFull(makeFourCC("smhd"), 0, 0);
        out.zeros(4); // balance
        out.end(smhd);
        break;
    }
    default: {
        const auto nmhd = out.beginFull(makeFourCC("nmhd"), 0, 0);
        out.end(nmhd);
        break;
    }
    }
}

void writeDataInformation(AtomStream& out, const TrackLayout& track) {
    const auto dinf = out.begin(makeFourCC("dinf"));
    const auto dref = out.beginFull(makeFourCC("dref"), 0, 0);
    out.u32(static_cast<std::uint32_t>(track.references.size()));
    for (const OutputReference& reference : track.references) {
        const auto entry = out.beginFull(reference.type, 0, reference.flags);
        out.bytes(reference.data);
        out.end(entry);
    }
    out.end(dref);
    out.end(dinf);
}

std::expected<void, Error> writeTrack(AtomStream& out, const FileLayout& layout, const TrackLayout& track,
                                      std::uint64_t mediaData, std::uint64_t creationTime) {
    const auto trak = out.begin(makeFourCC("trak"));
    writeTrackHeader(out, track, creationTime);
    writeTrackReference(out, track);
    writeEditList(out, track);
    const auto mdia = out.begin(makeFourCC("mdia"));
    writeMediaHeader(out, track, creationTime);
    writeHandler(out, layout.kind, makeFourCC("mhlr"), track.attributes.handlerType, handlerName(track));
    const auto minf = out.begin(makeFourCC("minf"));
    writeMediaInformationHeader(out, track);
    if (layout.kind == OutputKind::QuickTime)
        writeHandler(out, layout.kind, makeFourCC("dhlr"), track.references.front().type, "DataHandler");
    writeDataInformation(out, track);
    if (auto written = writeSampleTable(out, layout, track, mediaData); !written)
        return written;
    out.end(minf);
    out.end(mdia);
    out.end(trak);
    return {};
}

} // namespace

void writeFileType(AtomStream& out, OutputKind kind) {
    const auto ftyp = out.begin(makeFourCC("ftyp"));
    if (kind == OutputKind::QuickTime) {
        out.fourCC(makeFourCC("qt  "));
        out.u32(0x20050300);
        out.fourCC(makeFourCC("qt  "));
    } else {
        out.fourCC(makeFourCC("isom"));
        out.u32(0x200);
        out.fourCC(makeFourCC("isom"));
        out.fourCC(makeFourCC("iso2"));
        out.fourCC(makeFourCC("mp41"));
        out.fourCC(makeFourCC("mp42"));
    }
    out.end(ftyp);
}

std::expected<void, Error> writeMovieAtom(AtomStream& out, const FileLayout& layout, std::uint64_t mediaData,
                                          std::uint64_t creationTime) {
    const auto moov = out.begin(makeFourCC("moov"));
    writeMovieHeader(out, layout, creationTime);
    for (const TrackLayout& track : layout.tracks)
        if (auto written = writeTrack(out, layout, track, mediaData, creationTime); !written)
            return written;
    out.end(moov);
    return {};
}

} // namespace media::quicktime::detail
