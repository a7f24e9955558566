#include "MovieSegment.h"

#include <stdexcept>

namespace transcode_test {

using media::MediaType;

media::transcode::Segment movieSegment(const std::filesystem::path& file,
                                       std::optional<media::Time> pictureDuration) {
    auto opened = media::Movie::open(file);
    if (!opened)
        throw std::runtime_error(file.string() + ": " + opened.error().message);
    const media::Movie& movie = **opened;
    media::transcode::Segment segment;
    segment.file = file;
    segment.duration = movie.duration();
    // The file's time zero: each track starts after its leading gap.
    std::optional<media::Time> fileStart;
    for (const media::Track& track : movie.tracks()) {
        media::Time gap = media::zeroTime();
        for (const media::Edit& edit : track.edits) {
            if (!edit.source) {
                gap = media::addTimes(gap, edit.duration);
                continue;
            }
            const media::Time start = media::subtractTimes(edit.sourceRange.start, gap);
            if (!fileStart || media::compareTimes(start, *fileStart) < 0)
                fileStart = start;
            if (track.mediaType == MediaType::Video && segment.videoStream < 0)
                segment.videoStream = edit.streamIndex;
            if (track.mediaType == MediaType::Sound && segment.soundStream < 0)
                segment.soundStream = edit.streamIndex;
            break;
        }
    }
    segment.sourceRange = media::makeTimeRange(fileStart.value_or(media::zeroTime()), movie.duration());
    if (pictureDuration) {
        segment.isPicture = true;
        segment.duration = *pictureDuration;
        segment.sourceRange.duration = *pictureDuration;
    }
    return segment;
}

} // namespace transcode_test
