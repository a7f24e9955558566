#include "media/quicktime/detail/OutputSampleCursor.h"

#include "media/quicktime/detail/Rescale.h"

#include <algorithm>

namespace media::quicktime::detail {

OutputSampleCursor::OutputSampleCursor(const FileLayout& layout, const TrackLayout& track,
                                       std::uint64_t mediaData)
    : m_layout(layout), m_track(track), m_mediaData(mediaData) {}

bool OutputSampleCursor::nextOwn(OutputSample& sample) {
    if (m_segment >= m_track.ownSamples.size())
        return false;
    const OwnSample& own = m_track.ownSamples[m_segment++];
    sample = OutputSample{};
    sample.offset = m_mediaData + own.outputStart;
    sample.size = static_cast<std::uint32_t>(own.bytes.size());
    sample.duration = own.duration;
    sample.startsChunk = !m_havePrevious || sample.offset != m_previousEnd;
    m_havePrevious = true;
    m_previousEnd = sample.offset + sample.size;
    return true;
}

bool OutputSampleCursor::nextCutFrames(const SegmentLayout& part, OutputSample& sample) {
    const SampleList& samples = m_layout.sourceTrack(part.segment).samples;
    const auto i = static_cast<std::size_t>(part.segment.firstSample + m_inSegment++);
    const std::int64_t frames = samples.duration(i);
    const std::int64_t before = m_sourceElapsed;
    m_sourceElapsed += frames;
    // The frames of this chunk the segment plays: [from, to).
    const std::int64_t from = std::clamp<std::int64_t>(part.skippedFrames - before, 0, frames);
    const std::int64_t to =
        std::clamp<std::int64_t>(part.skippedFrames + part.keptFrames - before, 0, frames);
    if (to <= from)
        return false;
    const std::uint64_t bytesPerFrame = samples.byteSize(i) / static_cast<std::uint64_t>(frames);
    std::uint64_t offset = samples.offset(i) + static_cast<std::uint64_t>(from) * bytesPerFrame;
    if (m_layout.copies(part.segment.source)) {
        const CopyRun& run = m_layout.runs[static_cast<std::size_t>(part.run)];
        offset = m_mediaData + run.outputStart + (offset - run.sourceStart);
    }
    sample = OutputSample{};
    sample.offset = offset;
    sample.size = static_cast<std::uint32_t>(static_cast<std::uint64_t>(to - from) * bytesPerFrame);
    sample.duration = static_cast<std::uint32_t>(to - from);
    sample.description = part.descriptionMap[samples.descriptionIndex(i)];
    sample.startsChunk =
        !m_havePrevious || sample.offset != m_previousEnd || sample.description != m_previousDescription;
    m_havePrevious = true;
    m_previousEnd = sample.offset + sample.size;
    m_previousDescription = sample.description;
    return true;
}

bool OutputSampleCursor::next(OutputSample& sample) {
    if (!m_track.ownSamples.empty())
        return nextOwn(sample);
    while (m_segment < m_track.segments.size()) {
        const SegmentLayout& part = m_track.segments[m_segment];
        const std::uint64_t total = part.segment.isEmpty() ? 0 : part.segment.sampleCount + part.repeats;
        if (m_inSegment >= total) {
            ++m_segment;
            m_inSegment = 0;
            m_sourceElapsed = 0;
            m_outputElapsed = 0;
            m_repeatedLength = 0;
            m_silenceListed = 0;
            continue;
        }
        const TrackIndex& source = m_layout.sourceTrack(part.segment);
        const SampleList& samples = source.samples;
        if (m_silenceListed < part.silentFrames) { // chunks of the track's silence come first
            const auto frames = static_cast<std::uint64_t>(std::min<std::int64_t>(
                part.silentFrames - m_silenceListed, static_cast<std::int64_t>(m_track.silenceFrames)));
            sample = OutputSample{};
            sample.offset = m_mediaData + m_track.silenceStart;
            sample.size = static_cast<std::uint32_t>(frames * m_track.silenceBytesPerFrame);
            sample.duration = static_cast<std::uint32_t>(frames);
            sample.description = part.descriptionMap[samples.descriptionIndex(
                static_cast<std::size_t>(part.segment.firstSample))];
            m_silenceListed += static_cast<std::int64_t>(frames);
            m_havePrevious = true;
            m_previousEnd = sample.offset + sample.size;
            m_previousDescription = sample.description;
            return true;
        }
        if (part.keptFrames >= 0) {
            if (nextCutFrames(part, sample))
                return true;
            continue;
        }
        // The repeats of the first sample come before it.
        const bool repeat = m_inSegment < part.repeats;
        const std::size_t i =
            static_cast<std::size_t>(part.segment.firstSample + (repeat ? 0 : m_inSegment - part.repeats));
        const std::int64_t to = m_track.attributes.mediaTimeScale;
        const std::int64_t from = source.mediaTimeScale;

        const std::uint64_t sourceOffset = samples.offset(i);
        if (!m_layout.copies(part.segment.source)) {
            sample.offset = sourceOffset;
        } else {
            const CopyRun& run = m_layout.runs[static_cast<std::size_t>(part.run)];
            sample.offset = m_mediaData + run.outputStart + (sourceOffset - run.sourceStart);
        }
        sample.size = samples.byteSize(i);
        std::int64_t end = 0;
        if (repeat) {
            end = m_outputElapsed + rescaleRounded(samples.duration(i), to, from);
        } else {
            end = rescaleRounded(m_sourceElapsed + samples.duration(i), to, from) + m_repeatedLength;
            m_sourceElapsed += samples.duration(i);
        }
        if (part.fitted) {
            // The segment lasts exactly its laid-out length: its last sample
            // takes what is left, the ones before give way when it is short.
            const auto after = static_cast<std::int64_t>(total - m_inSegment - 1);
            end = after == 0 ? part.outputDecodeLength : std::min(end, part.outputDecodeLength - after);
            end = std::max(end, m_outputElapsed); // never a negative duration
        }
        sample.duration = static_cast<std::uint32_t>(end - m_outputElapsed);
        const std::int64_t natural =
            repeat ? m_outputElapsed
                   : rescaleRounded(m_sourceElapsed - samples.duration(i) + samples.compositionOffset(i), to,
                                    from) +
                         m_repeatedLength;
        sample.compositionOffset = static_cast<std::int32_t>(natural - m_outputElapsed);
        sample.description = part.descriptionMap[samples.descriptionIndex(i)];
        sample.sync = samples.isSync(i);
        sample.startsChunk = m_inSegment == 0 || samples.startsChunk(i) || !m_havePrevious || repeat ||
                             sample.offset != m_previousEnd || sample.description != m_previousDescription;

        if (repeat)
            m_repeatedLength = end;
        m_outputElapsed = end;
        ++m_inSegment;
        m_havePrevious = true;
        m_previousEnd = sample.offset + sample.size;
        m_previousDescription = sample.description;
        return true;
    }
    return false;
}

} // namespace media::quicktime::detail
