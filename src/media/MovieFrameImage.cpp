// The frame a movie shows at a time: apart from the rest of Movie, so that a
// program that only opens movies and reads their tracks needs no Qt Gui.

#include "media/Movie.h"
#include "media/detail/Int128.h"
#include "media/detail/SourceFile.h"

namespace media {

namespace {

// Where in its source an edit shows the movie time `offset` (measured from the
// edit's start): scaled edits map proportionally.
Time sourceTimeInEdit(const Edit& edit, const Time& offset) {
    const Time inEditScale = convertScale(offset, edit.duration.scale);
    if (edit.duration.value <= 0)
        return edit.sourceRange.start;
    const detail::Int128 scaled = static_cast<detail::Int128>(inEditScale.value) * edit.sourceRange.duration.value /
                            edit.duration.value;
    return addTimes(edit.sourceRange.start, makeTime(static_cast<std::int64_t>(scaled), edit.sourceRange.duration.scale));
}

} // namespace

std::optional<QImage> Movie::frameImage(const Time& time) const {
    for (const Track* track : tracksOfType(MediaType::Video)) {
        Time editStart = makeTime(0, track->timeScale);
        for (const Edit& edit : track->edits) {
            const Time editEnd = addTimes(editStart, edit.duration);
            const bool last = &edit == &track->edits.back();
            // The last frame also shows at the very end of the movie.
            if (compareTimes(time, editStart) >= 0 &&
                (compareTimes(time, editEnd) < 0 || (last && compareTimes(time, editEnd) == 0))) {
                if (!edit.source) {
                    // Before a track's video starts, players show its first frame.
                    const bool leadIn = &edit == &track->edits.front() && track->edits.size() > 1;
                    if (!leadIn || !track->edits[1].source)
                        break; // a gap in this track: look at the next track
                    const Edit& first = track->edits[1];
                    return first.source->frameImage(
                        first.streamIndex, first.source->streamTimestamp(first.streamIndex, first.sourceRange.start));
                }
                const Time sourceTime = sourceTimeInEdit(edit, subtractTimes(time, editStart));
                return edit.source->frameImage(edit.streamIndex,
                                               edit.source->streamTimestamp(edit.streamIndex, sourceTime));
            }
            editStart = editEnd;
        }
    }
    return std::nullopt;
}

} // namespace media
