// Editing movies: inserting segments of other movies and scaling segments in
// time. Both only rearrange edit lists; samples are never touched until the
// movie is written.

#include "media/Movie.h"

#include <algorithm>
#include <cmath>

namespace media {

namespace {

// t * numerator / denominator, for scaling times; answered in `scale`. A
// time without a scale (zeroTime(), the offset of an edit's first part) is
// zero whatever the ratio: its value over its scale is NaN, which would round
// to INT64_MIN. With nothing to scale by, t keeps its length.
Time scaleTime(const Time& t, const Time& numerator, const Time& denominator, std::int32_t scale) {
    if (t.value == 0 || t.scale <= 0)
        return makeTime(0, scale);
    const long double whole = seconds(denominator);
    const long double ratio = whole > 0 ? static_cast<long double>(seconds(numerator)) / whole : 1;
    const long double value = static_cast<long double>(t.value) / t.scale * ratio * scale;
    if (!std::isfinite(value) || std::fabs(value) > 9e18L)
        return makeTime(0, scale);
    return makeTime(static_cast<std::int64_t>(std::llround(value)), scale);
}

bool isPositive(const Time& t) {
    return compareTimes(t, zeroTime()) > 0;
}

// The part of an edit from `offset` for `length` (both in the track's time):
// scaled edits map proportionally onto their source range.
Edit sliceOfEdit(const Edit& edit, const Time& offset, const Time& length) {
    Edit slice = edit;
    slice.duration = length;
    if (edit.source) {
        const std::int32_t sourceScale = edit.sourceRange.duration.scale > 0 ? edit.sourceRange.duration.scale
                                                                             : edit.sourceRange.start.scale;
        const bool unscaled = compareTimes(edit.sourceRange.duration, edit.duration) == 0;
        const Time sourceOffset =
            unscaled ? convertScale(offset, sourceScale)
                     : scaleTime(offset, edit.sourceRange.duration, edit.duration, sourceScale);
        const Time sourceLength =
            unscaled ? convertScale(length, sourceScale)
                     : scaleTime(length, edit.sourceRange.duration, edit.duration, sourceScale);
        slice.sourceRange = makeTimeRange(addTimes(edit.sourceRange.start, sourceOffset), sourceLength);
    }
    return slice;
}

// Splits the edit holding `time` so that an edit starts exactly there; answers
// the index of that edit (edits.size() when time is at or past the end).
std::size_t splitAt(Track& track, const Time& time) {
    Time start = zeroTime();
    for (std::size_t i = 0; i < track.edits.size(); ++i) {
        const Time end = addTimes(start, track.edits[i].duration);
        if (compareTimes(time, start) == 0)
            return i;
        if (compareTimes(time, end) < 0) {
            const Edit whole = track.edits[i];
            const Time head = subtractTimes(time, start);
            track.edits[i] = sliceOfEdit(whole, zeroTime(), head);
            track.edits.insert(track.edits.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                               sliceOfEdit(whole, head, subtractTimes(whole.duration, head)));
            return i + 1;
        }
        start = end;
    }
    // Past the end: a gap brings the track up to the time.
    if (compareTimes(time, start) > 0)
        track.edits.push_back(Edit{nullptr, -1, TimeRange{}, subtractTimes(time, start)});
    return track.edits.size();
}

// The edits of `track` that show during `range`, trimmed to it.
std::vector<Edit> editsDuring(const Track& track, const TimeRange& range) {
    std::vector<Edit> found;
    const Time rangeEnd = addTimes(range.start, range.duration);
    Time start = zeroTime();
    for (const Edit& edit : track.edits) {
        const Time end = addTimes(start, edit.duration);
        const Time from = compareTimes(range.start, start) > 0 ? range.start : start;
        const Time to = compareTimes(rangeEnd, end) < 0 ? rangeEnd : end;
        if (compareTimes(from, to) < 0)
            found.push_back(sliceOfEdit(edit, subtractTimes(from, start), subtractTimes(to, from)));
        start = end;
    }
    // A track that ends before the range does shows nothing for the rest of it.
    const Time covered =
        compareTimes(start, range.start) > 0 ? subtractTimes(start, range.start) : zeroTime();
    if (compareTimes(covered, range.duration) < 0)
        found.push_back(Edit{nullptr, -1, TimeRange{}, subtractTimes(range.duration, covered)});
    return found;
}

Track emptyTrackLike(const Track& model, const Time& length) {
    Track track;
    track.mediaType = model.mediaType;
    track.codecName = model.codecName;
    track.timeScale = model.timeScale;
    track.naturalSize = model.naturalSize;
    if (isPositive(length))
        track.edits.push_back(Edit{nullptr, -1, TimeRange{}, length});
    return track;
}

// Where a movie time goes when `range` becomes `newDuration` long: times
// inside it move proportionally, later ones by the change in length.
Time movedByScaling(const Time& t, const TimeRange& range, const Time& newDuration, std::int32_t scale) {
    const Time rangeEnd = addTimes(range.start, range.duration);
    if (compareTimes(t, range.start) <= 0)
        return t;
    if (compareTimes(t, rangeEnd) >= 0)
        return addTimes(t, subtractTimes(newDuration, range.duration));
    return addTimes(range.start,
                    scaleTime(subtractTimes(t, range.start), newDuration, range.duration, scale));
}

void scaleChapters(std::vector<MovieChapter>& chapters, const TimeRange& range, const Time& newDuration,
                   std::int32_t scale) {
    for (MovieChapter& chapter : chapters) {
        const Time start = movedByScaling(chapter.range.start, range, newDuration, scale);
        const Time end =
            movedByScaling(addTimes(chapter.range.start, chapter.range.duration), range, newDuration, scale);
        chapter.range = makeTimeRange(start, subtractTimes(end, start));
    }
}

} // namespace

bool Movie::insertSegment(const Movie& source, const TimeRange& sourceRange, const Time& atTime) {
    if (!m_editable || &source == this || compareTimes(sourceRange.duration, zeroTime()) < 0 ||
        compareTimes(atTime, zeroTime()) < 0)
        return false;
    const Time length = sourceRange.duration;
    if (!isPositive(length))
        return true;
    const Time movieLength = duration();

    // The n-th source track of a media type goes into the n-th track of that type.
    std::vector<bool> filled(m_tracks.size(), false);
    for (const Track& sourceTrack : source.m_tracks) {
        std::size_t rank = 0;
        for (const Track& earlier : source.m_tracks) {
            if (&earlier == &sourceTrack)
                break;
            rank += earlier.mediaType == sourceTrack.mediaType ? 1 : 0;
        }
        std::size_t target = m_tracks.size();
        for (std::size_t i = 0, seen = 0; i < m_tracks.size(); ++i) {
            if (m_tracks[i].mediaType != sourceTrack.mediaType)
                continue;
            if (seen++ == rank) {
                target = i;
                break;
            }
        }
        if (target == m_tracks.size()) {
            m_tracks.push_back(emptyTrackLike(sourceTrack, movieLength));
            filled.push_back(false);
        }
        Track& track = m_tracks[target];
        const std::size_t at = splitAt(track, atTime);
        const std::vector<Edit> inserted = editsDuring(sourceTrack, sourceRange);
        track.edits.insert(track.edits.begin() + static_cast<std::ptrdiff_t>(at), inserted.begin(),
                           inserted.end());
        track.naturalSize.width = std::max(track.naturalSize.width, sourceTrack.naturalSize.width);
        track.naturalSize.height = std::max(track.naturalSize.height, sourceTrack.naturalSize.height);
        filled[target] = true;
    }
    // Tracks the source has nothing for get a gap, so they stay in step.
    for (std::size_t i = 0; i < m_tracks.size(); ++i) {
        if (filled[i])
            continue;
        Track& track = m_tracks[i];
        if (compareTimes(atTime, track.duration()) >= 0)
            continue; // nothing after the insertion point to push back
        const std::size_t at = splitAt(track, atTime);
        track.edits.insert(track.edits.begin() + static_cast<std::ptrdiff_t>(at),
                           Edit{nullptr, -1, TimeRange{}, length});
    }
    // Chapters after the insertion point move with what they title.
    for (MovieChapter& chapter : m_chapters)
        if (compareTimes(chapter.range.start, atTime) >= 0)
            chapter.range.start = addTimes(chapter.range.start, length);
    // The movie's scale becomes the finest of what it holds.
    m_timeScale = std::max(m_timeScale, source.m_timeScale);
    return true;
}

bool Movie::scaleSegment(const TimeRange& range, const Time& newDuration) {
    if (!m_editable || !isPositive(range.duration) || compareTimes(newDuration, zeroTime()) < 0)
        return false;
    const Time rangeEnd = addTimes(range.start, range.duration);
    for (Track& track : m_tracks) {
        const std::size_t first = splitAt(track, range.start);
        const std::size_t last = splitAt(track, rangeEnd);
        // Each boundary inside the range moves proportionally; rounding each
        // boundary (not each length) keeps the total exact.
        const std::int32_t scale = std::max(newDuration.scale, track.timeScale > 0 ? track.timeScale : 1);
        Time offset = zeroTime();
        Time placed = makeTime(0, scale);
        for (std::size_t i = first; i < last && i < track.edits.size(); ++i) {
            offset = addTimes(offset, track.edits[i].duration);
            const Time boundary = scaleTime(offset, newDuration, range.duration, scale);
            track.edits[i].duration = subtractTimes(boundary, placed);
            placed = boundary;
        }
    }
    scaleChapters(m_chapters, range, newDuration, std::max(newDuration.scale, m_timeScale));
    return true;
}

} // namespace media
