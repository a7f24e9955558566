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

SampleList::SampleList(Columns columns)
    : m_offsets(std::move(columns.offsets)), m_sizes(std::move(columns.sizes)),
      m_durations(std::move(columns.durations)), m_compositionOffsets(std::move(columns.compositionOffsets)),
      m_descriptionIndexes(std::move(columns.descriptionIndexes)), m_flags(std::move(columns.flags)) {
    const std::size_t n = m_offsets.size();
    m_sizes.resize(n, 0);
    m_durations.resize(n, 0);
    m_flags.resize(n, kSync | kChunkStart);
    if (m_compositionOffsets.size() != n || allZero(m_compositionOffsets))
        m_compositionOffsets = {};
    if (m_descriptionIndexes.size() != n || allZero(m_descriptionIndexes))
        m_descriptionIndexes = {};
}

SampleList::Sample SampleList::at(std::size_t i) const {
    return Sample{offset(i),           byteSize(i), duration(i),   compositionOffset(i),
                  descriptionIndex(i), isSync(i),   startsChunk(i)};
}

std::int64_t SampleList::decodeTime(std::size_t i) const {
    std::int64_t time = 0;
    for (std::size_t k = 0; k < i && k < count(); ++k)
        time += m_durations[k];
    return time;
}

std::size_t SampleList::memoryBytes() const {
    return bytesOf(m_offsets) + bytesOf(m_sizes) + bytesOf(m_durations) + bytesOf(m_compositionOffsets) +
           bytesOf(m_descriptionIndexes) + bytesOf(m_flags);
}

void SampleList::reserve(std::size_t n) {
    m_offsets.reserve(n);
    m_sizes.reserve(n);
    m_durations.reserve(n);
    m_flags.reserve(n);
}

void SampleList::append(const Sample& sample) {
    const std::size_t before = count();
    if (sample.compositionOffset != 0 && m_compositionOffsets.empty())
        m_compositionOffsets.assign(before, 0);
    if (sample.descriptionIndex != 0 && m_descriptionIndexes.empty())
        m_descriptionIndexes.assign(before, 0);
    m_offsets.push_back(sample.offset);
    m_sizes.push_back(sample.size);
    m_durations.push_back(sample.duration);
    if (!m_compositionOffsets.empty())
        m_compositionOffsets.push_back(sample.compositionOffset);
    if (!m_descriptionIndexes.empty())
        m_descriptionIndexes.push_back(sample.descriptionIndex);
    m_flags.push_back(
        static_cast<std::uint8_t>((sample.sync ? kSync : 0) | (sample.startsChunk ? kChunkStart : 0)));
}

} // namespace media::quicktime
