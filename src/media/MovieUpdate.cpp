// Saving a movie into its own file, and whether that is possible.

#include "media/Movie.h"
#include "media/detail/SourceFile.h"
#include "media/quicktime/ReferencedSource.h"

#include <cerrno>
#include <string_view>
#include <unistd.h>

namespace media {

namespace {

// A file keeps its kind: one whose tracks all play samples of the file itself
// stays self-contained, one that shows other files stays a reference movie.
WritePlacement placementOf(const std::vector<Track>& tracks, const std::filesystem::path& file) {
    if (quicktime::refersToOtherFiles(file))
        return WritePlacement::Referring;
    for (const Track& track : tracks)
        for (const Edit& edit : track.edits)
            if (edit.source && edit.source->path() != file)
                return WritePlacement::Referring;
    return WritePlacement::SelfContained;
}

// Chapters as a written movie holds them: each lasts until the next one
// starts (the last one for its own length), the first from time zero.
std::vector<ChapterMark> chapterMarks(const std::vector<MovieChapter>& chapters) {
    std::vector<ChapterMark> marks;
    Time placed = zeroTime();
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        const Time end = i + 1 < chapters.size()
                             ? chapters[i + 1].range.start
                             : addTimes(chapters[i].range.start, chapters[i].range.duration);
        const Time length = subtractTimes(end, placed);
        marks.push_back({chapters[i].title, compareTimes(length, zeroTime()) > 0 ? length : zeroTime()});
        if (compareTimes(end, placed) > 0)
            placed = end;
    }
    return marks;
}

// Whether the movie's own file is a QuickTime or MPEG-4 movie, which is
// rewritten without re-encoding. Other containers would be encoded again
// (losing quality) or turned into a QuickTime movie under their old name.
bool isQuickTimeFile(const std::vector<Track>& tracks, const std::filesystem::path& file) {
    for (const Track& track : tracks)
        for (const Edit& edit : track.edits)
            if (edit.source && edit.source->path() == file)
                return edit.source->isQuickTime();
    return false;
}

} // namespace

bool Movie::canUpdateMovieFile() const {
    if (m_fileName.empty() || !isQuickTimeFile(m_tracks, m_fileName))
        return false;
    const std::filesystem::path folder = m_fileName.parent_path().empty() ? "." : m_fileName.parent_path();
    return ::access(m_fileName.c_str(), W_OK) == 0 && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::expected<void, Error>
Movie::updateMovieFile(const std::function<bool(int phase, double fraction)>& progress) {
    if (!canUpdateMovieFile())
        return std::unexpected(Error{EACCES, "The movie has no file of its own that can be written."});
    WriteOptions options;
    options.placement = placementOf(m_tracks, m_fileName);
    options.chapters = chapterMarks(m_chapters);
    options.progress = progress;
    // The write reads the old file, still in place, and renames the new one over it.
    if (auto written = write(m_fileName, options); !written)
        return written;
    // The movie's edits described the old file: it is now the new one.
    auto reopened = open(m_fileName);
    if (!reopened)
        return std::unexpected(
            Error{reopened.error().code,
                  "The movie was saved but cannot be opened again: " + reopened.error().message});
    Movie& fresh = **reopened;
    m_tracks = std::move(fresh.m_tracks);
    m_chapters = std::move(fresh.m_chapters);
    m_timeScale = fresh.m_timeScale;
    setCurrentTime(m_currentTime);
    setPosterTime(m_posterTime);
    return {};
}

} // namespace media
