#include "media/quicktime/detail/OutputSampleCursor.h"

#include "media/quicktime/detail/Rescale.h"

namespace media::quicktime::detail {

OutputSampleCursor::OutputSampleCursor(const WritePlan& plan, const PlannedTrack& track,
                                       std::uint64_t mediaData)
    : m_plan(plan), m_track(track), m_mediaData(mediaData) {}

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

bool OutputSampleCursor::next(OutputSample& sample) {
    if (!m_track.ownSamples.empty())
        return nextOwn(sample);
    while (m_segment < m_track.segments.size()) {
        const PlannedSegment& part = m_track.segments[m_segment];
        if (part.segment.isEmpty() || m_inSegment >= part.segment.sampleCount) {
            ++m_segment;
            m_inSegment = 0;
            m_sourceElapsed = 0;
            m_outputElapsed = 0;
            continue;
        }
        const TrackIndex& source = m_plan.sourceTrack(part.segment);
        const SampleList& samples = source.samples;
        const std::size_t i = static_cast<std::size_t>(part.segment.firstSample + m_inSegment);
        const std::int64_t to = m_track.attributes.mediaTimeScale;
        const std::int64_t from = source.mediaTimeScale;

        const std::uint64_t sourceOffset = samples.offset(i);
        if (!m_plan.copies(part.segment.source)) {
            sample.offset = sourceOffset;
        } else {
            const CopyRun& run = m_plan.runs[static_cast<std::size_t>(part.run)];
            sample.offset = m_mediaData + run.outputStart + (sourceOffset - run.sourceStart);
        }
        sample.size = samples.byteSize(i);
        const std::int64_t end = rescaleRounded(m_sourceElapsed + samples.duration(i), to, from);
        sample.duration = static_cast<std::uint32_t>(end - m_outputElapsed);
        sample.compositionOffset = static_cast<std::int32_t>(
            rescaleRounded(m_sourceElapsed + samples.compositionOffset(i), to, from) - m_outputElapsed);
        sample.description = part.descriptionMap[samples.descriptionIndex(i)];
        sample.sync = samples.isSync(i);
        sample.startsChunk = m_inSegment == 0 || samples.startsChunk(i) || !m_havePrevious ||
                             sample.offset != m_previousEnd || sample.description != m_previousDescription;

        m_sourceElapsed += samples.duration(i);
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
