#include "media/quicktime/detail/SampleTableWriter.h"

#include "media/quicktime/detail/OutputSampleCursor.h"
#include "media/quicktime/detail/SampleTableParser.h"

#include <cerrno>
#include <utility>

namespace media::quicktime::detail {

namespace {

struct TableFacts final {
    std::uint64_t samples = 0;
    std::uint64_t frames = 0; // packed sound: the frames the tables list
    bool allSync = true;
    bool anyCompositionOffset = false;
    bool negativeCompositionOffset = false;
    bool sameSize = true;
    std::uint32_t firstSize = 0;
    std::uint64_t lastChunkOffset = 0;
};

// Calls visit(sample) for each of the track's samples, as they will be written.
template <typename Visit>
void forEachSample(const FileLayout& layout, const TrackLayout& track, std::uint64_t mediaData, Visit visit) {
    OutputSampleCursor cursor(layout, track, mediaData);
    OutputSample sample;
    while (cursor.next(sample))
        visit(std::as_const(sample));
}

TableFacts gatherFacts(const FileLayout& layout, const TrackLayout& track, std::uint64_t mediaData) {
    TableFacts facts;
    forEachSample(layout, track, mediaData, [&](const OutputSample& sample) {
        if (facts.samples == 0)
            facts.firstSize = sample.size;
        facts.sameSize = facts.sameSize && sample.size == facts.firstSize;
        facts.allSync = facts.allSync && sample.sync;
        facts.anyCompositionOffset = facts.anyCompositionOffset || sample.compositionOffset != 0;
        facts.negativeCompositionOffset = facts.negativeCompositionOffset || sample.compositionOffset < 0;
        if (sample.startsChunk)
            facts.lastChunkOffset = std::max(facts.lastChunkOffset, sample.offset);
        if (track.packed)
            facts.frames += sample.duration / track.packed->sampleDuration;
        ++facts.samples;
    });
    return facts;
}

// Writes (count, value) runs of a per-sample value, counting them into a reserved field.
template <typename Value> class RunWriter final {
public:
    explicit RunWriter(AtomStream& out) : m_out(out), m_countField(out.reserve32()) {}
    void add(std::uint32_t count, Value value) {
        if (m_length > 0 && value == m_value && m_length + count <= UINT32_MAX) {
            m_length += count;
            return;
        }
        emit();
        m_value = value;
        m_length = count;
    }
    void finish() {
        emit();
        m_out.patch32(m_countField, m_runs);
    }

private:
    void emit() {
        if (m_length == 0)
            return;
        m_out.u32(m_length);
        m_out.u32(static_cast<std::uint32_t>(m_value));
        ++m_runs;
    }
    AtomStream& m_out;
    std::uint64_t m_countField;
    std::uint32_t m_runs = 0;
    std::uint32_t m_length = 0;
    Value m_value{};
};

void writeDescriptions(AtomStream& out, const TrackLayout& track) {
    const auto stsd = out.beginFull(makeFourCC("stsd"), 0, 0);
    out.u32(static_cast<std::uint32_t>(track.descriptions.size()));
    for (const auto& entry : track.descriptions)
        out.bytes(entry);
    out.end(stsd);
}

void writeTimes(AtomStream& out, const FileLayout& layout, const TrackLayout& track, std::uint64_t mediaData,
                const TableFacts& facts) {
    const auto stts = out.beginFull(makeFourCC("stts"), 0, 0);
    RunWriter<std::uint32_t> runs(out);
    if (track.packed) {
        runs.add(static_cast<std::uint32_t>(facts.frames), track.packed->sampleDuration);
    } else {
        forEachSample(layout, track, mediaData, [&](const OutputSample& sample) { runs.add(1, sample.duration); });
    }
    runs.finish();
    out.end(stts);
}

void writeCompositionOffsets(AtomStream& out, const FileLayout& layout, const TrackLayout& track,
                             std::uint64_t mediaData, const TableFacts& facts) {
    if (!facts.anyCompositionOffset)
        return;
    // Version 1 says the offsets are signed; readers read version 0 as signed too.
    const auto ctts = out.beginFull(makeFourCC("ctts"), facts.negativeCompositionOffset ? 1 : 0, 0);
    RunWriter<std::int32_t> runs(out);
    forEachSample(layout, track, mediaData,
                  [&](const OutputSample& sample) { runs.add(1, sample.compositionOffset); });
    runs.finish();
    out.end(ctts);
}

void writeSyncSamples(AtomStream& out, const FileLayout& layout, const TrackLayout& track,
                      std::uint64_t mediaData, const TableFacts& facts) {
    if (facts.allSync)
        return; // no table: every sample is a sync sample
    const auto stss = out.beginFull(makeFourCC("stss"), 0, 0);
    const auto countField = out.reserve32();
    std::uint32_t count = 0;
    std::uint32_t number = 0;
    forEachSample(layout, track, mediaData, [&](const OutputSample& sample) {
        ++number;
        if (sample.sync) {
            out.u32(number);
            ++count;
        }
    });
    out.patch32(countField, count);
    out.end(stss);
}

void writeChunks(AtomStream& out, const FileLayout& layout, const TrackLayout& track, std::uint64_t mediaData,
                 const TableFacts& facts) {
    // Sample-to-chunk: one entry each time the samples per chunk or the description change.
    const auto stsc = out.beginFull(makeFourCC("stsc"), 0, 0);
    const auto entriesField = out.reserve32();
    std::uint32_t entries = 0;
    std::uint32_t chunk = 0;
    std::uint64_t inChunk = 0;
    std::uint32_t chunkDescription = 0;
    std::uint64_t lastPerChunk = 0;
    std::uint32_t lastDescription = UINT32_MAX;
    const auto closeChunk = [&] {
        if (inChunk == 0)
            return;
        if (inChunk != lastPerChunk || chunkDescription != lastDescription) {
            out.u32(chunk);
            out.u32(static_cast<std::uint32_t>(inChunk));
            out.u32(chunkDescription + 1);
            lastPerChunk = inChunk;
            lastDescription = chunkDescription;
            ++entries;
        }
    };
    forEachSample(layout, track, mediaData, [&](const OutputSample& sample) {
        if (sample.startsChunk) {
            closeChunk();
            ++chunk;
            inChunk = 0;
            chunkDescription = sample.description;
        }
        inChunk += track.packed ? sample.duration / track.packed->sampleDuration : 1;
    });
    closeChunk();
    out.patch32(entriesField, entries);
    out.end(stsc);

    const auto stsz = out.beginFull(makeFourCC("stsz"), 0, 0);
    if (track.packed) {
        out.u32(track.packed->sampleSize);
        out.u32(static_cast<std::uint32_t>(facts.frames));
    } else if (facts.sameSize && facts.samples > 0 && facts.firstSize >= kSmallestConstantSampleSize) {
        out.u32(facts.firstSize);
        out.u32(static_cast<std::uint32_t>(facts.samples));
    } else {
        out.u32(0);
        out.u32(static_cast<std::uint32_t>(facts.samples));
        forEachSample(layout, track, mediaData, [&](const OutputSample& sample) { out.u32(sample.size); });
    }
    out.end(stsz);

    const bool wide = facts.lastChunkOffset > UINT32_MAX;
    const auto offsets = out.beginFull(makeFourCC(wide ? "co64" : "stco"), 0, 0);
    out.u32(chunk);
    forEachSample(layout, track, mediaData, [&](const OutputSample& sample) {
        if (!sample.startsChunk)
            return;
        if (wide)
            out.u64(sample.offset);
        else
            out.u32(static_cast<std::uint32_t>(sample.offset));
    });
    out.end(offsets);
}

} // namespace

std::expected<void, Error> writeSampleTable(AtomStream& out, const FileLayout& layout,
                                            const TrackLayout& track, std::uint64_t mediaData) {
    const TableFacts facts = gatherFacts(layout, track, mediaData);
    if (facts.samples > UINT32_MAX || facts.frames > UINT32_MAX)
        return std::unexpected(
            Error{EFBIG, "The movie cannot be written: a track has more than 4 billion samples."});
    const auto stbl = out.begin(makeFourCC("stbl"));
    writeDescriptions(out, track);
    writeTimes(out, layout, track, mediaData, facts);
    writeCompositionOffsets(out, layout, track, mediaData, facts);
    writeSyncSamples(out, layout, track, mediaData, facts);
    writeChunks(out, layout, track, mediaData, facts);
    out.end(stbl);
    return {};
}

} // namespace media::quicktime::detail
