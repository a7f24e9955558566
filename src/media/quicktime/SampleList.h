#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace media::quicktime {

// The samples of one track in decode order, kept as parallel columns so that a
// long movie's table stays small (about 21 bytes a sample; columns that hold
// nothing but zeros take no room at all).
class SampleList final {
public:
    struct Sample final {
        std::uint64_t offset = 0; // in the file that holds the sample data
        std::uint32_t size = 0;
        std::uint32_t duration = 0;         // decode duration, media units
        std::int32_t compositionOffset = 0; // presentation time less decode time
        std::uint32_t descriptionIndex = 0; // 0-based, into the track's sample descriptions
        bool sync = true;
        bool startsChunk = true; // first sample of a chunk in the source's layout
    };

    std::size_t count() const { return m_columns.offsets.size(); }
    bool empty() const { return m_columns.offsets.empty(); }

    std::uint64_t offset(std::size_t i) const { return m_columns.offsets[i]; }
    std::uint32_t byteSize(std::size_t i) const { return m_columns.sizes[i]; }
    std::uint32_t duration(std::size_t i) const { return m_columns.durations[i]; }
    std::int32_t compositionOffset(std::size_t i) const {
        return m_columns.compositionOffsets.empty() ? 0 : m_columns.compositionOffsets[i];
    }
    std::uint32_t descriptionIndex(std::size_t i) const {
        return m_columns.descriptionIndexes.empty() ? 0 : m_columns.descriptionIndexes[i];
    }
    bool isSync(std::size_t i) const { return (m_columns.flags[i] & kSync) != 0; }
    bool startsChunk(std::size_t i) const { return (m_columns.flags[i] & kChunkStart) != 0; }
    Sample at(std::size_t i) const;

    bool hasCompositionOffsets() const { return !m_columns.compositionOffsets.empty(); }
    // The decode time of sample i: the sum of the durations before it.
    std::int64_t decodeTime(std::size_t i) const;
    std::int64_t totalDuration() const { return decodeTime(count()); }
    // Bytes the columns occupy, for keeping an eye on memory.
    std::size_t memoryBytes() const;

    void reserve(std::size_t count);
    void append(const Sample& sample);

    // Columns filled table by table while a file is read. Vectors left empty
    // mean "all zero" (composition offsets, description indexes).
    struct Columns final {
        std::vector<std::uint64_t> offsets;
        std::vector<std::uint32_t> sizes;
        std::vector<std::uint32_t> durations;
        std::vector<std::int32_t> compositionOffsets;
        std::vector<std::uint32_t> descriptionIndexes;
        std::vector<std::uint8_t> flags;
    };
    static constexpr std::uint8_t kSync = 1;
    static constexpr std::uint8_t kChunkStart = 2;

    SampleList() = default;
    // Every non-empty column must have one entry per offset.
    explicit SampleList(Columns columns);

private:
    Columns m_columns;
};

} // namespace media::quicktime
