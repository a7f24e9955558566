// Counting a stream's samples without decoding: from the container's sample
// index where it lists every sample, otherwise by reading the packets.

#include "media/detail/SourceFile.h"

#include <string_view>

namespace media {

using namespace detail;

namespace {

// Readers whose index lists every sample of every track (QuickTime and MPEG-4
// sample tables). Others index key frames only, or nothing.
bool indexListsEverySample(const AVInputFormat* format) {
    return std::string_view(format->name).starts_with("mov,");
}

bool inRange(const SourceFile& source, int streamIndex, std::int64_t timestamp, const TimeRange& range) {
    const Time time = source.streamTime(streamIndex, timestamp);
    return compareTimes(time, range.start) >= 0 && compareTimes(time, addTimes(range.start, range.duration)) < 0;
}

} // namespace

std::int64_t SourceFile::sampleCount(int streamIndex, const std::optional<TimeRange>& range) {
    if (m_isPicture)
        return 1;
    if (!range) {
        if (auto cached = m_wholeStreamSampleCounts.find(streamIndex); cached != m_wholeStreamSampleCounts.end())
            return cached->second;
    }
    const std::int64_t count = m_described                          ? countDescribedSamples(streamIndex, range)
                               : indexListsEverySample(m_format->iformat) ? countSamplesFromIndex(streamIndex, range)
                                                                        : countSamplesByReading(streamIndex, range);
    if (!range)
        m_wholeStreamSampleCounts[streamIndex] = count;
    return count;
}

// From our own index: each sample's presentation time placed as the
// stream's timestamps are (its shown edit's media time at the stream's start).
std::int64_t SourceFile::countDescribedSamples(int streamIndex, const std::optional<TimeRange>& range) const {
    const quicktime::TrackIndex& track = m_index->tracks[static_cast<std::size_t>(streamIndex)];
    const quicktime::SampleList& samples = track.samples;
    if (!range)
        return static_cast<std::int64_t>(samples.count());
    std::int64_t mediaStart = 0;
    for (const quicktime::EditListEntry& edit : track.editList)
        if (!edit.isEmpty()) {
            mediaStart = edit.mediaTime;
            break;
        }
    const std::int64_t shift = streamRange(streamIndex).start.value - mediaStart;
    std::int64_t count = 0;
    std::int64_t decodeTime = 0;
    for (std::size_t i = 0; i < samples.count(); ++i) {
        if (inRange(*this, streamIndex, decodeTime + samples.compositionOffset(i) + shift, *range))
            ++count;
        decodeTime += samples.duration(i);
    }
    return count;
}

std::int64_t SourceFile::countSamplesFromIndex(int streamIndex, const std::optional<TimeRange>& range) const {
    AVStream* stream = m_format->streams[streamIndex];
    const int entries = avformat_index_get_entries_count(stream);
    if (!range)
        return entries;
    std::int64_t count = 0;
    for (int i = 0; i < entries; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
        if (entry && inRange(*this, streamIndex, entry->timestamp, *range))
            ++count;
    }
    return count;
}

// Reads the packets with a demuxer of its own, so the shared one keeps its
// position for frame images.
std::int64_t SourceFile::countSamplesByReading(int streamIndex, const std::optional<TimeRange>& range) const {
    auto reader = SourceFile::open(m_path, Depth::Header);
    if (!reader)
        return 0;
    AVFormatContext* context = (*reader)->format();
    if (static_cast<unsigned>(streamIndex) >= context->nb_streams)
        return 0;
    for (unsigned i = 0; i < context->nb_streams; ++i)
        context->streams[i]->discard = static_cast<int>(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    PacketPtr packet(av_packet_alloc());
    if (!packet)
        return 0;
    std::int64_t count = 0;
    while (av_read_frame(context, packet.get()) >= 0) {
        if (packet->stream_index == streamIndex) {
            const std::int64_t timestamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (!range || (timestamp != AV_NOPTS_VALUE && inRange(**reader, streamIndex, timestamp, *range)))
                ++count;
        }
        av_packet_unref(packet.get());
    }
    return count;
}

} // namespace media
