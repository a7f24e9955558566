#include "media/quicktime/detail/SampleTableParser.h"

#include "media/quicktime/detail/AtomIterator.h"
#include "media/quicktime/detail/EntryCount.h"
#include "media/quicktime/detail/IndexErrors.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace media::quicktime::detail {

namespace {

struct TableAtoms final {
    std::optional<Bytes> stsd, stts, ctts, stss, stsz, stz2, stsc, stco, co64;
};

// The atom each table is read from.
constexpr std::pair<FourCC, std::optional<Bytes> TableAtoms::*> kTableAtoms[] = {
    {makeFourCC("stsd"), &TableAtoms::stsd}, {makeFourCC("stts"), &TableAtoms::stts},
    {makeFourCC("ctts"), &TableAtoms::ctts}, {makeFourCC("stss"), &TableAtoms::stss},
    {makeFourCC("stsz"), &TableAtoms::stsz}, {makeFourCC("stz2"), &TableAtoms::stz2},
    {makeFourCC("stsc"), &TableAtoms::stsc}, {makeFourCC("stco"), &TableAtoms::stco},
    {makeFourCC("co64"), &TableAtoms::co64}};

std::expected<TableAtoms, Error> collectTables(Bytes body) {
    TableAtoms tables;
    AtomIterator atoms(body);
    while (auto atom = atoms.next()) {
        for (const auto& [type, table] : kTableAtoms)
            if (atom->type == type)
                tables.*table = atom->body;
    }
    if (atoms.damaged())
        return std::unexpected(damaged("an atom of a sample table overruns it"));
    return tables;
}

std::expected<std::vector<std::vector<std::uint8_t>>, Error> readDescriptions(Bytes stsd) {
    ByteReader reader(stsd);
    reader.skip(4);
    const auto count = readEntryCount(reader, 16, "the sample description table");
    if (!count)
        return std::unexpected(count.error());
    std::vector<std::vector<std::uint8_t>> entries;
    entries.reserve(*count);
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::uint32_t size = reader.u32();
        if (!reader.ok() || size < 16 || size - 4 > reader.remaining())
            return std::unexpected(damaged("a sample description has a bad size"));
        const Bytes rest = reader.take(size - 4);
        std::vector<std::uint8_t> entry{std::uint8_t(size >> 24), std::uint8_t(size >> 16),
                                        std::uint8_t(size >> 8), std::uint8_t(size)};
        entry.insert(entry.end(), rest.begin(), rest.end());
        entries.push_back(std::move(entry));
    }
    return entries;
}

// The sample size table, 'stsz' or the compact 'stz2'.
class SizeTable final {
public:
    static std::expected<SizeTable, Error> read(const TableAtoms& tables) {
        SizeTable table;
        if (tables.stsz) {
            ByteReader reader(*tables.stsz);
            reader.skip(4);
            table.m_constantSize = reader.u32();
            table.m_count = reader.u32();
            table.m_fieldBits = 32;
            if (!reader.ok() || (table.m_constantSize == 0 && !reader.fits(table.m_count, 4)))
                return std::unexpected(damaged("the sample size table claims more entries than it holds"));
            table.m_entries = reader.take(reader.remaining());
        } else if (tables.stz2) {
            ByteReader reader(*tables.stz2);
            reader.skip(4 + 3);
            table.m_fieldBits = reader.u8();
            table.m_count = reader.u32();
            if (!reader.ok() || (table.m_fieldBits != 4 && table.m_fieldBits != 8 && table.m_fieldBits != 16))
                return std::unexpected(damaged("the compact sample size table has a bad field size"));
            if ((table.m_count * std::uint64_t(table.m_fieldBits) + 7) / 8 > reader.remaining())
                return std::unexpected(damaged("the sample size table claims more entries than it holds"));
            table.m_entries = reader.take(reader.remaining());
        }
        return table;
    }

    std::uint32_t constantSize() const { return m_constantSize; }
    std::uint64_t count() const { return m_count; }
    std::uint32_t size(std::uint64_t i) const {
        if (m_constantSize != 0)
            return m_constantSize;
        switch (m_fieldBits) {
        case 4: {
            const std::uint8_t byte = m_entries[i / 2];
            return i % 2 == 0 ? byte >> 4 : byte & 0x0f;
        }
        case 8:
            return m_entries[i];
        case 16:
            return (std::uint32_t(m_entries[2 * i]) << 8) | m_entries[2 * i + 1];
        default:
            return (std::uint32_t(m_entries[4 * i]) << 24) | (std::uint32_t(m_entries[4 * i + 1]) << 16) |
                   (std::uint32_t(m_entries[4 * i + 2]) << 8) | m_entries[4 * i + 3];
        }
    }

private:
    std::uint32_t m_constantSize = 0;
    std::uint64_t m_count = 0;
    int m_fieldBits = 32;
    Bytes m_entries;
};

// The entries of a run-length table ('stts', 'ctts'): a count and a value each.
struct RunTable final {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> runs;
};

std::expected<RunTable, Error> readRuns(Bytes body, const char* name) {
    ByteReader reader(body);
    reader.skip(4);
    const auto count = readEntryCount(reader, 8, std::string("the ") + name + " table");
    if (!count)
        return std::unexpected(count.error());
    RunTable table;
    table.runs.reserve(*count);
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::uint32_t runLength = reader.u32();
        const std::uint32_t value = reader.u32();
        table.runs.emplace_back(runLength, value);
    }
    return table;
}

struct ChunkEntry final {
    std::uint32_t firstChunk = 0; // 1-based
    std::uint32_t samplesPerChunk = 0;
    std::uint32_t descriptionIndex = 0; // 1-based
};

std::expected<std::vector<ChunkEntry>, Error> readChunkMap(Bytes stsc, std::size_t descriptionCount) {
    ByteReader reader(stsc);
    reader.skip(4);
    const auto count = readEntryCount(reader, 12, "the sample-to-chunk table");
    if (!count)
        return std::unexpected(count.error());
    std::vector<ChunkEntry> entries;
    entries.reserve(*count);
    for (std::uint32_t i = 0; i < *count; ++i) {
        ChunkEntry entry{reader.u32(), reader.u32(), reader.u32()};
        const bool ordered =
            entries.empty() ? entry.firstChunk == 1 : entry.firstChunk > entries.back().firstChunk;
        if (!ordered)
            return std::unexpected(damaged("the sample-to-chunk table is out of order"));
        if (entry.descriptionIndex == 0 || entry.descriptionIndex > descriptionCount)
            return std::unexpected(damaged("a chunk names a sample description that does not exist"));
        entries.push_back(entry);
    }
    return entries;
}

std::expected<std::vector<std::uint64_t>, Error> readChunkOffsets(const TableAtoms& tables) {
    const bool wide = !tables.stco && tables.co64;
    ByteReader reader(wide ? *tables.co64 : *tables.stco);
    reader.skip(4);
    const auto count = readEntryCount(reader, wide ? 8 : 4, "the chunk offset table");
    if (!count)
        return std::unexpected(count.error());
    std::vector<std::uint64_t> offsets(*count);
    for (auto& offset : offsets)
        offset = wide ? reader.u64() : reader.u32();
    return offsets;
}

// Calls visit(offset, samples, descriptionIndex) for each chunk in order until
// `sampleCount` samples are placed; fails when the chunks hold fewer.
std::expected<void, Error>
walkChunks(const std::vector<ChunkEntry>& map, const std::vector<std::uint64_t>& offsets,
           std::uint64_t sampleCount,
           const std::function<bool(std::uint64_t, std::uint64_t, std::uint32_t)>& visit) {
    std::uint64_t placed = 0;
    std::size_t entry = 0;
    for (std::size_t chunk = 0; chunk < offsets.size() && placed < sampleCount && !map.empty(); ++chunk) {
        while (entry + 1 < map.size() && map[entry + 1].firstChunk <= chunk + 1)
            ++entry;
        const std::uint64_t samples =
            std::min<std::uint64_t>(map[entry].samplesPerChunk, sampleCount - placed);
        if (samples == 0)
            continue;
        if (!visit(offsets[chunk], samples, map[entry].descriptionIndex - 1))
            return std::unexpected(damaged("a chunk lies beyond any possible file size"));
        placed += samples;
    }
    if (placed < sampleCount)
        return std::unexpected(damaged("the chunks hold fewer samples than the size table lists"));
    return {};
}

// Bytes and frames of one packet of uncompressed (or QuickTime-packetised) sound.
struct SoundPacking final {
    std::uint64_t bytesPerPacket = 0;
    std::uint64_t framesPerPacket = 0;
};

std::optional<SoundPacking> soundPacking(const std::vector<std::uint8_t>& entry, std::uint32_t tableSize) {
    ByteReader reader(entry);
    reader.skip(16);
    const std::uint16_t version = reader.u16();
    reader.skip(2 + 4);
    const std::uint16_t channels = reader.u16();
    const std::uint16_t bits = reader.u16();
    reader.skip(2 + 2 + 4);
    const std::uint32_t first = reader.u32(); // v1: frames per packet; v2: size of the structure
    reader.skip(4);                           // v1: bytes per packet of one channel
    const std::uint32_t third = reader.u32(); // v1: bytes per frame (all channels)
    reader.skip(4 + 4 + 4 + 4);
    const std::uint32_t v2BytesPerPacket = reader.u32();
    const std::uint32_t v2FramesPerPacket = reader.u32();
    if (version == 2 && reader.ok() && v2BytesPerPacket && v2FramesPerPacket)
        return SoundPacking{v2BytesPerPacket, v2FramesPerPacket};
    if (version == 1 && first && third)
        return SoundPacking{third, first};
    if (tableSize > 1)
        return SoundPacking{tableSize, 1};
    if (version == 0 && channels && bits && bits % 8 == 0)
        return SoundPacking{std::uint64_t(channels) * (bits / 8), 1};
    return std::nullopt;
}

bool everyDurationIs(const RunTable& stts, std::uint32_t duration) {
    for (const auto& [count, delta] : stts.runs)
        if (count != 0 && delta != duration)
            return false;
    return true;
}

std::expected<void, Error> readPackedSound(const TableAtoms& tables, const SizeTable& sizes,
                                           const RunTable& stts, TrackIndex& track) {
    auto map = readChunkMap(*tables.stsc, track.sampleDescriptions.size());
    if (!map)
        return std::unexpected(map.error());
    auto offsets = readChunkOffsets(tables);
    if (!offsets)
        return std::unexpected(offsets.error());
    std::uint64_t listed = 0;
    for (const auto& run : stts.runs)
        listed += run.first;
    if (listed < sizes.count())
        return std::unexpected(damaged("the time table covers fewer samples than the size table lists"));

    SampleList::Columns columns;
    columns.offsets.reserve(offsets->size());
    std::optional<SoundPacking> packing;
    std::optional<std::uint32_t> packingDescription;
    bool ok = true;
    auto walked = walkChunks(
        *map, *offsets, sizes.count(),
        [&](std::uint64_t offset, std::uint64_t frames, std::uint32_t description) {
            if (!packingDescription || *packingDescription != description) {
                auto next = soundPacking(track.sampleDescriptions[description], sizes.constantSize());
                if (!next || (packing && (next->bytesPerPacket != packing->bytesPerPacket ||
                                          next->framesPerPacket != packing->framesPerPacket))) {
                    ok = false;
                    return true;
                }
                packing = next;
                packingDescription = description;
            }
            if (frames % packing->framesPerPacket != 0 || frames > UINT32_MAX) {
                ok = false;
                return true;
            }
            const std::uint64_t bytes = frames / packing->framesPerPacket * packing->bytesPerPacket;
            if (bytes > UINT32_MAX) {
                ok = false;
                return true;
            }
            columns.offsets.push_back(offset);
            columns.sizes.push_back(static_cast<std::uint32_t>(bytes));
            columns.durations.push_back(static_cast<std::uint32_t>(frames));
            columns.descriptionIndexes.push_back(description);
            columns.flags.push_back(SampleList::kSync | SampleList::kChunkStart);
            return true;
        });
    if (!walked)
        return std::unexpected(walked.error());
    if (!ok)
        return std::unexpected(
            unsupported("its uncompressed sound is laid out in a way this reader does not know"));
    track.samples = SampleList(std::move(columns));
    track.packed = PackedSamples{sizes.constantSize(), 1};
    return {};
}

std::expected<void, Error> fillDurations(const RunTable& stts, std::vector<std::uint32_t>& durations) {
    std::size_t at = 0;
    for (const auto& [count, delta] : stts.runs) {
        for (std::uint32_t k = 0; k < count && at < durations.size(); ++k)
            durations[at++] = delta;
    }
    if (at < durations.size())
        return std::unexpected(damaged("the time table covers fewer samples than the size table lists"));
    return {};
}

void fillCompositionOffsets(const RunTable& ctts, std::vector<std::int32_t>& offsets) {
    std::size_t at = 0;
    for (const auto& [count, offset] : ctts.runs) {
        for (std::uint32_t k = 0; k < count && at < offsets.size(); ++k)
            offsets[at++] =
                static_cast<std::int32_t>(offset); // read as signed, as players do for version 0 too
    }
}

std::expected<void, Error> markSyncSamples(const std::optional<Bytes>& stss,
                                           std::vector<std::uint8_t>& flags) {
    if (!stss) {
        for (auto& flag : flags)
            flag |= SampleList::kSync;
        return {};
    }
    ByteReader reader(*stss);
    reader.skip(4);
    const auto count = readEntryCount(reader, 4, "the sync sample table");
    if (!count)
        return std::unexpected(count.error());
    for (std::uint32_t i = 0; i < *count; ++i) {
        const std::uint32_t number = reader.u32();
        if (number >= 1 && number <= flags.size())
            flags[number - 1] |= SampleList::kSync;
    }
    return {};
}

} // namespace

std::expected<void, Error> parseSampleTable(Bytes body, TrackIndex& track, ParseLimits& limits) {
    auto tables = collectTables(body);
    if (!tables)
        return std::unexpected(tables.error());
    if (tables->stsd) {
        auto descriptions = readDescriptions(*tables->stsd);
        if (!descriptions)
            return std::unexpected(descriptions.error());
        track.sampleDescriptions = std::move(*descriptions);
    }
    auto sizes = SizeTable::read(*tables);
    if (!sizes)
        return std::unexpected(sizes.error());
    const std::uint64_t count = sizes->count();
    if (count == 0)
        return {};
    if (!tables->stts)
        return std::unexpected(damaged("a track has samples but no time table"));
    if (!tables->stsc || (!tables->stco && !tables->co64))
        return std::unexpected(damaged("a track has samples but no chunk table"));
    if (track.sampleDescriptions.empty())
        return std::unexpected(damaged("a track has samples but no sample description"));
    auto stts = readRuns(*tables->stts, "time");
    if (!stts)
        return std::unexpected(stts.error());

    if (track.handler == Handler::Sound && sizes->constantSize() != 0 && everyDurationIs(*stts, 1))
        return readPackedSound(*tables, *sizes, *stts, track);

    if (sizes->constantSize() != 0) {
        // Without a size per sample the count costs the header nothing: hold it against the file.
        // Samples of at least 8 bytes fit fileSize / 8 times (more only where they share bytes).
        if (sizes->constantSize() < kSmallestConstantSampleSize)
            return std::unexpected(
                unsupported("its samples are " + std::to_string(sizes->constantSize()) + " bytes each"));
        if (count > limits.constantSizeSamplesLeft)
            return std::unexpected(damaged("its tables list more samples than the file can hold"));
        limits.constantSizeSamplesLeft -= count;
    }

    auto map = readChunkMap(*tables->stsc, track.sampleDescriptions.size());
    if (!map)
        return std::unexpected(map.error());
    auto chunkOffsets = readChunkOffsets(*tables);
    if (!chunkOffsets)
        return std::unexpected(chunkOffsets.error());

    const std::size_t n = static_cast<std::size_t>(count);
    SampleList::Columns columns;
    columns.sizes.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        columns.sizes[i] = sizes->size(i);
    columns.durations.resize(n);
    if (auto filled = fillDurations(*stts, columns.durations); !filled)
        return std::unexpected(filled.error());
    if (tables->ctts) {
        auto ctts = readRuns(*tables->ctts, "composition offset");
        if (!ctts)
            return std::unexpected(ctts.error());
        columns.compositionOffsets.resize(n);
        fillCompositionOffsets(*ctts, columns.compositionOffsets);
    }
    columns.flags.resize(n, 0);
    if (auto marked = markSyncSamples(tables->stss, columns.flags); !marked)
        return std::unexpected(marked.error());

    columns.offsets.resize(n);
    if (track.sampleDescriptions.size() > 1)
        columns.descriptionIndexes.resize(n);
    std::size_t at = 0;
    auto walked = walkChunks(*map, *chunkOffsets, count,
                             [&](std::uint64_t offset, std::uint64_t samples, std::uint32_t description) {
                                 columns.flags[at] |= SampleList::kChunkStart;
                                 for (std::uint64_t k = 0; k < samples; ++k, ++at) {
                                     columns.offsets[at] = offset;
                                     if (!columns.descriptionIndexes.empty())
                                         columns.descriptionIndexes[at] = description;
                                     if (offset > UINT64_MAX - columns.sizes[at])
                                         return false;
                                     offset += columns.sizes[at];
                                 }
                                 return true;
                             });
    if (!walked)
        return std::unexpected(walked.error());
    track.samples = SampleList(std::move(columns));
    return {};
}

} // namespace media::quicktime::detail
