// Opening files as movies: one track per usable stream, each with one edit
// spanning its stream, placed in time relative to the file's earliest stream.

#include "media/DisplayName.h"
#include "media/Movie.h"
#include "media/detail/ContainerChapters.h"
#include "media/detail/SourceFile.h"
#include "media/quicktime/PosterTime.h"

#include <algorithm>

namespace media {

class MovieLoader final {
public:
    static std::shared_ptr<Movie> load(const std::shared_ptr<SourceFile>& source);

private:
    static Track pictureTrack(const std::shared_ptr<SourceFile>& source, int streamIndex);
    static TimeRange playedRange(const SourceFile& source, int streamIndex);
    static Track streamTrack(const std::shared_ptr<SourceFile>& source, int streamIndex,
                             const Time& fileStart);
};

Track MovieLoader::pictureTrack(const std::shared_ptr<SourceFile>& source, int streamIndex) {
    Track track;
    track.mediaType = MediaType::Video;
    track.codecName = source->codecName(streamIndex);
    track.timeScale = Movie::kDefaultTimeScale;
    track.naturalSize = source->displaySize(streamIndex);
    const std::int32_t scale = source->streamTimeScale(streamIndex);
    track.edits.push_back(
        Edit{source, streamIndex, makeTimeRange(makeTime(0, scale), makeTime(1, scale)),
             makeTime(Movie::kPictureDurationSeconds * Movie::kDefaultTimeScale, Movie::kDefaultTimeScale)});
    return track;
}

// A stream's range less what starts before time zero: encoder priming that
// players skip (AAC in Matroska, for one), which must not delay the other tracks.
TimeRange MovieLoader::playedRange(const SourceFile& source, int streamIndex) {
    TimeRange range = source.streamRange(streamIndex);
    const Time zero = makeTime(0, range.start.scale);
    if (compareTimes(range.start, zero) < 0) {
        range.duration = addTimes(range.duration, range.start);
        range.start = zero;
        if (range.duration.value < 0)
            range.duration = makeTime(0, range.duration.scale);
    }
    return range;
}

Track MovieLoader::streamTrack(const std::shared_ptr<SourceFile>& source, int streamIndex,
                               const Time& fileStart) {
    Track track;
    track.mediaType = source->mediaType(streamIndex);
    track.codecName = source->codecName(streamIndex);
    track.timeScale = source->streamTimeScale(streamIndex);
    if (track.mediaType == MediaType::Video)
        track.naturalSize = source->displaySize(streamIndex);
    const TimeRange range = playedRange(*source, streamIndex);
    // A stream that starts after the file's first one begins with a gap.
    const Time lead = convertScale(
        subtractTimes(subtractTimes(range.start, source->gaplessPriming(streamIndex)), fileStart),
        track.timeScale);
    if (lead.value > 0)
        track.edits.push_back(Edit{nullptr, -1, TimeRange{}, lead});
    track.edits.push_back(Edit{source, streamIndex, range, range.duration});
    return track;
}

std::shared_ptr<Movie> MovieLoader::load(const std::shared_ptr<SourceFile>& source) {
    std::shared_ptr<Movie> movie(new Movie());
    movie->m_fileName = source->path();
    movie->m_displayName = displayNameOfFile(source->path());
    std::vector<int> usable;
    for (int i = 0; i < source->streamCount(); ++i)
        if (source->isUsableStream(i))
            usable.push_back(i);

    if (source->isPicture()) {
        movie->m_tracks.push_back(pictureTrack(source, usable.front()));
        movie->m_timeScale = Movie::kDefaultTimeScale;
        return movie;
    }

    std::optional<Time> fileStart;
    for (int index : usable) {
        const Time start = subtractTimes(playedRange(*source, index).start, source->gaplessPriming(index));
        if (!fileStart || compareTimes(start, *fileStart) < 0)
            fileStart = start;
    }
    for (int index : usable)
        movie->m_tracks.push_back(streamTrack(source, index, *fileStart));

    // The finest of the tracks' scales, so no track's timing is rounded away.
    std::int32_t scale = 0;
    for (const Track& track : movie->m_tracks)
        scale = std::max(scale, track.timeScale);
    movie->m_timeScale = scale > 0 ? scale : Movie::kDefaultTimeScale;
    movie->m_currentTime = makeTime(0, movie->m_timeScale);
    movie->m_posterTime = makeTime(0, movie->m_timeScale);
    // QuickTime and MPEG-4 files keep a poster time in their movie header.
    if (source->isQuickTime())
        if (const auto poster = quicktime::readPosterTime(source->path()))
            movie->setPosterTime(convertScale(*poster, movie->m_timeScale));
    movie->m_selection = makeTimeRange(makeTime(0, movie->m_timeScale), makeTime(0, movie->m_timeScale));
    movie->m_chapters = readContainerChapters(*source, movie->m_timeScale);
    return movie;
}

bool Movie::canOpen(const std::filesystem::path& path) {
    return SourceFile::open(path, SourceFile::Depth::Header).has_value();
}

std::expected<std::shared_ptr<Movie>, Error> Movie::open(const std::filesystem::path& path) {
    auto source = SourceFile::open(path, SourceFile::Depth::Parameters);
    if (!source)
        return std::unexpected(source.error());
    return MovieLoader::load(*source);
}

} // namespace media
