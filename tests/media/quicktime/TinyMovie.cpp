#include "TinyMovie.h"

namespace quicktime_test {

void appendBig(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0); // wider fields: zeros first
}

Bytes atom(const std::string& type, const Bytes& body) {
    Bytes out;
    appendBig(out, body.size() + 8, 4);
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes wideAtom(const std::string& type, const Bytes& body) {
    Bytes out;
    appendBig(out, 1, 4);
    out.insert(out.end(), type.begin(), type.end());
    appendBig(out, body.size() + 16, 8);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes fullAtom(const std::string& type, std::uint8_t version, std::uint32_t flags, const Bytes& body) {
    Bytes full;
    appendBig(full, (std::uint32_t(version) << 24) | flags, 4);
    full.insert(full.end(), body.begin(), body.end());
    return atom(type, full);
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

namespace {

Bytes sampleDescription(const TinyMovieOptions& o) {
    Bytes entry;
    appendBig(entry, 0, 6);
    appendBig(entry, 1, 2); // data reference 1
    appendBig(entry, 0, 16);
    Bytes body;
    appendBig(body, 1, 4);
    const Bytes described = atom(o.codec, entry);
    body.insert(body.end(), described.begin(), described.end());
    return body;
}

Bytes sampleTable(const TinyMovieOptions& o, std::uint64_t dataOffset) {
    Bytes stts;
    appendBig(stts, 1, 4);
    appendBig(stts, o.samples, 4);
    appendBig(stts, o.sampleDuration, 4);

    Bytes sizes;
    std::string sizeType = "stsz";
    if (o.compactSizeBits) {
        sizeType = "stz2";
        appendBig(sizes, 0, 3);
        appendBig(sizes, static_cast<std::uint64_t>(o.compactSizeBits), 1);
        appendBig(sizes, o.samples, 4);
        if (o.compactSizeBits == 4) {
            for (std::uint32_t i = 0; i < o.samples; i += 2)
                appendBig(sizes, (o.sampleSize << 4) | (i + 1 < o.samples ? o.sampleSize : 0), 1);
        } else {
            for (std::uint32_t i = 0; i < o.samples; ++i)
                appendBig(sizes, o.sampleSize, o.compactSizeBits / 8);
        }
    } else if (o.constantSize) {
        appendBig(sizes, o.sampleSize, 4);
        appendBig(sizes, o.samples, 4);
    } else {
        appendBig(sizes, 0, 4);
        appendBig(sizes, o.samples, 4);
        for (std::uint32_t i = 0; i < o.samples; ++i)
            appendBig(sizes, o.sampleSize, 4);
    }

    const std::uint32_t chunks = (o.samples + o.samplesPerChunk - 1) / o.samplesPerChunk;
    Bytes stsc;
    appendBig(stsc, 1, 4);
    appendBig(stsc, 1, 4);
    appendBig(stsc, o.samplesPerChunk, 4);
    appendBig(stsc, 1, 4);

    Bytes offsets;
    appendBig(offsets, chunks, 4);
    for (std::uint32_t c = 0; c < chunks; ++c)
        appendBig(offsets, dataOffset + std::uint64_t(c) * o.samplesPerChunk * o.sampleSize,
                  o.wideChunkOffsets ? 8 : 4);

    Bytes table =
        concat({fullAtom("stsd", 0, 0, o.stsdBody.value_or(sampleDescription(o))),
                fullAtom("stts", 0, 0, o.sttsBody.value_or(stts)),
                o.stszBody ? fullAtom("stsz", 0, 0, *o.stszBody) : fullAtom(sizeType, 0, 0, sizes),
                fullAtom("stsc", 0, 0, o.stscBody.value_or(stsc)),
                fullAtom(o.wideChunkOffsets ? "co64" : "stco", 0, 0, o.stcoBody.value_or(offsets))});
    if (!o.compositionOffsets.empty()) {
        bool negative = false;
        Bytes ctts;
        appendBig(ctts, o.compositionOffsets.size(), 4);
        for (std::int32_t offset : o.compositionOffsets) {
            negative = negative || offset < 0;
            appendBig(ctts, 1, 4);
            appendBig(ctts, static_cast<std::uint32_t>(offset), 4);
        }
        const Bytes atomBytes = fullAtom("ctts", negative ? 1 : 0, 0, ctts);
        table.insert(table.end(), atomBytes.begin(), atomBytes.end());
    }
    if (!o.syncSamples.empty()) {
        Bytes stss;
        appendBig(stss, o.syncSamples.size(), 4);
        for (std::uint32_t number : o.syncSamples)
            appendBig(stss, number, 4);
        const Bytes atomBytes = fullAtom("stss", 0, 0, stss);
        table.insert(table.end(), atomBytes.begin(), atomBytes.end());
    }
    return atom("stbl", table);
}

Bytes movieAtom(const TinyMovieOptions& o, std::uint64_t dataOffset) {
    Bytes mvhd;
    appendBig(mvhd, 0, 8);
    appendBig(mvhd, 600, 4);
    appendBig(mvhd, 600, 4);
    appendBig(mvhd, 0, 80);
    Bytes tkhd;
    appendBig(tkhd, 0, 8);
    appendBig(tkhd, 1, 4); // track id
    appendBig(tkhd, 0, 4);
    appendBig(tkhd, 600, 4);
    appendBig(tkhd, 0, 60);
    Bytes mdhd;
    appendBig(mdhd, 0, 8);
    appendBig(mdhd, static_cast<std::uint32_t>(o.mediaTimeScale), 4);
    appendBig(mdhd, std::uint64_t(o.samples) * o.sampleDuration, 4);
    appendBig(mdhd, 0x55c4, 2);
    appendBig(mdhd, 0, 2);
    Bytes hdlr;
    appendBig(hdlr, 0, 4);
    hdlr.insert(hdlr.end(), o.handler.begin(), o.handler.end());
    appendBig(hdlr, 0, 13);
    Bytes reference =
        fullAtom("url ", 0, o.externalData ? 0 : 1,
                 o.externalData ? Bytes{'o', 't', 'h', 'e', 'r', '.', 'm', 'o', 'v', 0} : Bytes{});
    Bytes dref;
    appendBig(dref, 1, 4);
    dref.insert(dref.end(), reference.begin(), reference.end());
    const Bytes udta = o.paddingAtoms ? atom("udta", atom("name", {'x'})) : Bytes{};
    const Bytes minf =
        atom("minf", concat({fullAtom("vmhd", 0, 1, Bytes(8, 0)), atom("dinf", fullAtom("dref", 0, 0, dref)),
                             sampleTable(o, dataOffset)}));
    const Bytes trak = atom(
        "trak",
        concat({fullAtom("tkhd", 0, 3, tkhd), udta,
                atom("mdia", concat({fullAtom("mdhd", 0, 0, mdhd), fullAtom("hdlr", 0, 0, hdlr), minf}))}));
    const Bytes mvex = o.movieExtends ? atom("mvex", fullAtom("trex", 0, 0, Bytes(20, 0))) : Bytes{};
    const Bytes body = concat({fullAtom("mvhd", 0, 0, mvhd), udta, trak, mvex});
    return o.wideSizes ? wideAtom("moov", body) : atom("moov", body);
}

} // namespace

Bytes tinyMovie(const TinyMovieOptions& o, std::uint64_t* mediaDataOffset) {
    Bytes ftyp;
    for (char c : std::string("isom\0\0\0\0isom", 12))
        ftyp.push_back(static_cast<std::uint8_t>(c));
    const Bytes head =
        concat({atom("ftyp", ftyp),
                o.paddingAtoms ? concat({atom("free", Bytes(5, 0)), atom("wide", {})}) : Bytes{}});
    Bytes data;
    for (std::uint32_t i = 0; i < o.samples; ++i)
        for (std::uint32_t k = 0; k < o.sampleSize; ++k)
            data.push_back(static_cast<std::uint8_t>(i));
    const std::size_t mdatHeader = o.wideSizes ? 16 : 8;
    const Bytes skip = o.paddingAtoms ? atom("skip", Bytes(3, 0)) : Bytes{};
    Bytes file;
    std::uint64_t dataOffset = 0;
    if (o.moovFirst) {
        const std::size_t movieSize = movieAtom(o, 0).size();
        dataOffset = head.size() + movieSize + skip.size() + mdatHeader;
        file = concat({head, movieAtom(o, dataOffset), skip,
                       o.wideSizes ? wideAtom("mdat", data) : atom("mdat", data)});
    } else {
        dataOffset = head.size() + mdatHeader;
        file = concat({head, o.wideSizes ? wideAtom("mdat", data) : atom("mdat", data), skip,
                       movieAtom(o, dataOffset)});
    }
    if (o.fragmentTail)
        file = concat({file, atom("moof", fullAtom("mfhd", 0, 0, Bytes(4, 0)))});
    if (mediaDataOffset)
        *mediaDataOffset = dataOffset;
    return file;
}

} // namespace quicktime_test
