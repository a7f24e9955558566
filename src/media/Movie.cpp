#include "media/Movie.h"

#include "media/detail/SourceFile.h"

#include <algorithm>

namespace media {

const char* mediaTypeName(MediaType type) {
    switch (type) {
    case MediaType::Video:
        return "video";
    case MediaType::Sound:
        return "sound";
    case MediaType::Text:
        return "text";
    case MediaType::Other:
        break;
    }
    return "other";
}

Time Track::duration() const {
    Time total = makeTime(0, timeScale);
    for (const Edit& edit : edits)
        total = addTimes(total, edit.duration);
    return total;
}

Movie::~Movie() = default;

std::shared_ptr<Movie> Movie::makeEmpty() {
    return std::shared_ptr<Movie>(new Movie());
}

QString Movie::displayName() const {
    return m_displayName;
}

void Movie::setDisplayName(const QString& name) {
    m_displayName = name;
}

Size Movie::naturalSize() const {
    Size size;
    for (const Track& track : m_tracks) {
        if (track.mediaType != MediaType::Video)
            continue;
        size.width = std::max(size.width, track.naturalSize.width);
        size.height = std::max(size.height, track.naturalSize.height);
    }
    return size;
}

Time Movie::duration() const {
    Time longest = makeTime(0, m_timeScale);
    for (const Track& track : m_tracks) {
        const Time end = convertScale(track.duration(), m_timeScale);
        if (compareTimes(end, longest) > 0)
            longest = end;
    }
    return longest;
}

// Times kept by the movie are clamped to its length, as a player's would be.
static Time clampToDuration(const Time& time, const Time& duration) {
    if (compareTimes(time, Time{}) < 0)
        return makeTime(0, duration.scale);
    if (compareTimes(time, duration) > 0)
        return duration;
    return time;
}

void Movie::setCurrentTime(const Time& time) {
    m_currentTime = clampToDuration(time, duration());
}

void Movie::setPosterTime(const Time& time) {
    m_posterTime = clampToDuration(time, duration());
}

void Movie::setSelection(const TimeRange& range) {
    m_selection = range;
}

std::vector<const Track*> Movie::tracksOfType(MediaType type) const {
    std::vector<const Track*> found;
    for (const Track& track : m_tracks)
        if (track.mediaType == type)
            found.push_back(&track);
    return found;
}

bool Movie::hasTrackOfType(MediaType type) const {
    return std::any_of(m_tracks.begin(), m_tracks.end(), [type](const Track& t) { return t.mediaType == type; });
}


std::int32_t Movie::frameCount() const {
    std::int64_t count = 0;
    for (const Track* track : tracksOfType(MediaType::Video)) {
        for (const Edit& edit : track->edits) {
            if (!edit.source)
                continue;
            const TimeRange whole = edit.source->streamRange(edit.streamIndex);
            const bool coversStream = compareTimes(edit.sourceRange.start, whole.start) == 0 &&
                                      compareTimes(edit.sourceRange.duration, whole.duration) == 0;
            count += edit.source->sampleCount(edit.streamIndex,
                                              coversStream ? std::nullopt : std::optional(edit.sourceRange));
        }
    }
    return static_cast<std::int32_t>(std::min<std::int64_t>(count, INT32_MAX));
}

} // namespace media
