#include "TinyMovie.h"

#include <algorithm>

namespace quicktime_test {

void appendBig(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(i < 8 ? static_cast<std::uint8_t>(value >> (8 * i)) : 0); // wider fields: zeros first
}

Bytes words(std::initializer_list<std::uint32_t> values) {
    Bytes out;
    for (std::uint32_t value : values)
        appendBig(out, value, 4);
    return out;
}

Bytes atom(const std::string& type, const Bytes& body, bool wide) {
    Bytes out;
    appendBig(out, wide ? 1 : body.size() + 8, 4);
    out.insert(out.end(), type.begin(), type.end());
    if (wide)
        appendBig(out, body.size() + 16, 8);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes fullAtom(const std::string& type, std::uint8_t version, std::uint32_t flags, const Bytes& body) {
    return atom(type, concat({words({(std::uint32_t(version) << 24) | flags}), body}));
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

namespace {

Bytes sampleSizes(const TinyMovieOptions& o) {
    if (o.constantSize && !o.compactSizeBits)
        return words({o.sampleSize, o.samples});
    Bytes sizes = o.compactSizeBits ? words({static_cast<std::uint32_t>(o.compactSizeBits), o.samples})
                                    : words({0, o.samples});
    if (o.compactSizeBits == 4) {
        for (std::uint32_t i = 0; i < o.samples; i += 2)
            appendBig(sizes, (o.sampleSize << 4) | (i + 1 < o.samples ? o.sampleSize : 0), 1);
    } else {
        for (std::uint32_t i = 0; i < o.samples; ++i)
            appendBig(sizes, o.sampleSize, o.compactSizeBits ? o.compactSizeBits / 8 : 4);
    }
    return sizes;
}

Bytes sampleTable(const TinyMovieOptions& o, std::uint64_t dataOffset) {
    const std::uint32_t chunks = (o.samples + o.samplesPerChunk - 1) / o.samplesPerChunk;
    Bytes offsets = words({chunks});
    for (std::uint32_t c = 0; c < chunks; ++c)
        appendBig(offsets, dataOffset + std::uint64_t(c) * o.samplesPerChunk * o.sampleSize,
                  o.wideChunkOffsets ? 8 : 4);
    // One description of `codec` (data reference 1).
    const Bytes description =
        concat({words({1}), atom(o.codec, concat({Bytes(6, 0), {0, 1}, Bytes(16, 0)}))});
    Bytes table =
        concat({fullAtom("stsd", 0, 0, o.stsdBody.value_or(description)),
                fullAtom("stts", 0, 0, o.sttsBody.value_or(words({1, o.samples, o.sampleDuration}))),
                o.stszBody ? fullAtom("stsz", 0, 0, *o.stszBody)
                           : fullAtom(o.compactSizeBits ? "stz2" : "stsz", 0, 0, sampleSizes(o)),
                fullAtom("stsc", 0, 0, o.stscBody.value_or(words({1, 1, o.samplesPerChunk, 1}))),
                fullAtom(o.wideChunkOffsets ? "co64" : "stco", 0, 0, o.stcoBody.value_or(offsets))});
    if (!o.compositionOffsets.empty()) {
        Bytes ctts = words({static_cast<std::uint32_t>(o.compositionOffsets.size())});
        for (std::int32_t offset : o.compositionOffsets)
            ctts = concat({ctts, words({1, static_cast<std::uint32_t>(offset)})});
        const bool negative = std::ranges::any_of(o.compositionOffsets, [](std::int32_t x) { return x < 0; });
        table = concat({table, fullAtom("ctts", negative ? 1 : 0, 0, ctts)});
    }
    if (!o.syncSamples.empty()) {
        Bytes stss = words({static_cast<std::uint32_t>(o.syncSamples.size())});
        for (std::uint32_t number : o.syncSamples)
            appendBig(stss, number, 4);
        table = concat({table, fullAtom("stss", 0, 0, stss)});
    }
    return atom("stbl", table);
}

Bytes movieAtom(const TinyMovieOptions& o, std::uint64_t dataOffset) {
    // Times, scale 600 and duration 600; then matrix and the rest, zero.
    const Bytes mvhd = concat({words({0, 0, 600, 600}), Bytes(80, 0)});
    const Bytes tkhd = concat({words({0, 0, 1, 0, 600}), Bytes(60, 0)}); // track 1
    const Bytes mdhd =
        concat({words({0, 0, static_cast<std::uint32_t>(o.mediaTimeScale), o.samples * o.sampleDuration}),
                {0x55, 0xc4, 0, 0}}); // language "und"
    const Bytes hdlr = concat({words({0}), Bytes(o.handler.begin(), o.handler.end()), Bytes(13, 0)});
    const Bytes reference = o.externalData
                                ? fullAtom("url ", 0, 0, {'o', 't', 'h', 'e', 'r', '.', 'm', 'o', 'v', 0})
                                : fullAtom("url ", 0, 1, {});
    const Bytes udta = o.paddingAtoms ? atom("udta", atom("name", {'x'})) : Bytes{};
    const Bytes minf =
        atom("minf", concat({fullAtom("vmhd", 0, 1, Bytes(8, 0)),
                             atom("dinf", fullAtom("dref", 0, 0, concat({words({1}), reference}))),
                             sampleTable(o, dataOffset)}));
    const Bytes trak = atom(
        "trak",
        concat({fullAtom("tkhd", 0, 3, tkhd), udta,
                atom("mdia", concat({fullAtom("mdhd", 0, 0, mdhd), fullAtom("hdlr", 0, 0, hdlr), minf}))}));
    const Bytes mvex = o.movieExtends ? atom("mvex", fullAtom("trex", 0, 0, Bytes(20, 0))) : Bytes{};
    return atom("moov", concat({fullAtom("mvhd", 0, 0, mvhd), udta, trak, mvex}), o.wideSizes);
}

} // namespace

Bytes tinyMovie(const TinyMovieOptions& o, std::uint64_t* mediaDataOffset) {
    const Bytes head =
        concat({atom("ftyp", {'i', 's', 'o', 'm', 0, 0, 0, 0, 'i', 's', 'o', 'm'}),
                o.paddingAtoms ? concat({atom("free", Bytes(5, 0)), atom("wide", {})}) : Bytes{}});
    Bytes data;
    for (std::uint32_t i = 0; i < o.samples; ++i)
        data.insert(data.end(), o.sampleSize, static_cast<std::uint8_t>(i));
    const Bytes mdat = atom("mdat", data, o.wideSizes);
    const Bytes skip = o.paddingAtoms ? atom("skip", Bytes(3, 0)) : Bytes{};
    const std::size_t mdatHeader = o.wideSizes ? 16 : 8;
    // With the movie first, its size does not depend on where the data starts.
    const std::uint64_t dataOffset =
        head.size() + mdatHeader + (o.moovFirst ? movieAtom(o, 0).size() + skip.size() : 0);
    Bytes file = o.moovFirst ? concat({head, movieAtom(o, dataOffset), skip, mdat})
                             : concat({head, mdat, skip, movieAtom(o, dataOffset)});
    if (o.fragmentTail)
        file = concat({file, atom("moof", fullAtom("mfhd", 0, 0, Bytes(4, 0)))});
    if (mediaDataOffset)
        *mediaDataOffset = dataOffset;
    return file;
}

} // namespace quicktime_test
