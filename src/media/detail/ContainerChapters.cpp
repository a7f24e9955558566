#include "media/detail/ContainerChapters.h"

#include "media/detail/SourceFile.h"

#include <algorithm>

namespace media {

namespace {

Time chapterTime(std::int64_t timestamp, AVRational timeBase, std::int32_t scale) {
    if (timestamp == AV_NOPTS_VALUE || timeBase.num <= 0 || timeBase.den <= 0)
        return makeTime(0, scale);
    return makeTime(av_rescale_q(timestamp, timeBase, AVRational{1, scale}), scale);
}

} // namespace

std::vector<MovieChapter> readContainerChapters(const SourceFile& source, std::int32_t movieTimeScale) {
    // Our own reader describes only files without chapters.
    if (source.isDescribed())
        return {};
    const AVFormatContext* format = source.format();
    const std::int64_t fileStart = format->start_time == AV_NOPTS_VALUE ? 0 : format->start_time;
    const Time origin = chapterTime(fileStart, AVRational{1, AV_TIME_BASE}, movieTimeScale);
    struct Found final {
        QString title;
        Time start, end;
    };
    std::vector<Found> found;
    for (unsigned i = 0; i < format->nb_chapters; ++i) {
        const AVChapter* chapter = format->chapters[i];
        const AVDictionaryEntry* title = av_dict_get(chapter->metadata, "title", nullptr, 0);
        Time start = subtractTimes(chapterTime(chapter->start, chapter->time_base, movieTimeScale), origin);
        Time end = subtractTimes(chapterTime(chapter->end, chapter->time_base, movieTimeScale), origin);
        if (compareTimes(start, zeroTime()) < 0)
            start = makeTime(0, movieTimeScale);
        found.push_back({title ? QString::fromUtf8(title->value) : QString(), start, end});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Found& a, const Found& b) { return compareTimes(a.start, b.start) < 0; });
    std::vector<MovieChapter> chapters;
    for (std::size_t i = 0; i < found.size(); ++i) {
        Time end = found[i].end;
        if (compareTimes(end, found[i].start) < 0 && i + 1 < found.size())
            end = found[i + 1].start;
        if (compareTimes(end, found[i].start) < 0)
            end = found[i].start;
        chapters.push_back(
            {found[i].title, makeTimeRange(found[i].start, subtractTimes(end, found[i].start))});
    }
    return chapters;
}

} // namespace media
