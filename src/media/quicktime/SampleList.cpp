#include "media/quicktime/SampleList.h"

#include <algorithm>

namespace media::quicktime {

namespace {

template <typename T> bool allZero(const std::vector<T>& column) {
    return std::all_of(column.begin(), column.end(), [](T value) { return value == 0; });
}

template <typename T> std::size_t bytesOf(const std::vector<T>& column) {
    return column.capacity() * sizeof(T);
}

} // namespace

SampleList::SampleList(Columns columns) : m_columns(std::move(columns)) {
    const std::size_t n = m_columns.offsets.size();
    m_columns.sizes.resize(n, 0);
    m_columns.durations.resize(n, 0);
    m_columns.flags.resize(n, kSync | kChunkStart);
    if (m_columns.compositionOffsets.size() != n || allZero(m_columns.compositionOffsets))
        m_columns.compositionOffsets = {};
    if (m_columns.descriptionIndexes.size() != n || allZero(m_columns.descriptionIndexes))
        m_columns.descriptionIndexes = {};
}

SampleList::Sample SampleList::at(std::size_t i) const {
    return Sample{offset(i),           byteSize(i), duration(i),   compositionOffset(i),
                  descriptionIndex(i), isSync(i),   startsChunk(i)};
}

std::int64_t SampleList::decodeTime(std::size_t i) const {
    std::int64_t time = 0;
    for (std::size_t k = 0; k < i && k < count(); ++k)
        time += m_columns.durations[k];
    return time;
}

std::size_t SampleList::memoryBytes() const {
    return bytesOf(m_columns.offsets) + bytesOf(m_columns.sizes) + bytesOf(m_columns.durations) + bytesOf(m_columns.compositionOffsets) +
           bytesOf(m_columns.descriptionIndexes) + bytesOf(m_columns.flags);
}

void SampleList::reserve(std::size_t n) {
    m_columns.offsets.reserve(n);
    m_columns.sizes.reserve(n);
    m_columns.durations.reserve(n);
    m_columns.flags.reserve(n);
}

void SampleList::append(const Sample& sample) {
    const std::size_t before = count();
    if (sample.compositionOffset != 0 && m_columns.compositionOffsets.empty())
        m_columns.compositionOffsets.assign(before, 0);
    if (sample.descriptionIndex != 0 && m_columns.descriptionIndexes.empty())
        m_columns.descriptionIndexes.assign(before, 0);
    m_columns.offsets.push_back(sample.offset);
    m_columns.sizes.push_back(sample.size);
    m_columns.durations.push_back(sample.duration);
    if (!m_columns.compositionOffsets.empty())
        m_columns.compositionOffsets.push_back(sample.compositionOffset);
    if (!m_columns.descriptionIndexes.empty())
        m_columns.descriptionIndexes.push_back(sample.descriptionIndex);
    m_columns.flags.push_back(
        static_cast<std::uint8_t>((sample.sync ? kSync : 0) | (sample.startsChunk ? kChunkStart : 0)));
}

} // namespace media::quicktime
