#pragma once

#include "media/Error.h"
#include "media/ExportComponent.h"
#include "media/Time.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace media {

class SourceFile;

enum class MediaType { Video, Sound, Text, Other };

// How a written movie holds its samples.
enum class WritePlacement {
    SelfContained, // the samples are in the new file (copied when possible, else re-encoded)
    Referring,     // the new file points at the samples of its source files
};

// A chapter of a written movie: chapters follow each other from time zero.
struct ChapterMark final {
    QString title;
    Time duration;
};

// A chapter of a movie's own file: its title, shown from range.start for
// range.duration (movie time).
struct MovieChapter final {
    QString title;
    TimeRange range;
};

struct WriteOptions final {
    WritePlacement placement = WritePlacement::SelfContained;
    std::vector<ChapterMark> chapters;
    // Told the phase (0 begin, 1 update, 2 end) and the fraction done (0 to 1);
    // answering false cancels the write.
    std::function<bool(int phase, double fraction)> progress;
    // Written through this export component with `exportSettings` (empty
    // settings: the component's defaults) rather than in the format the
    // destination's extension names; always re-encoded and self-contained.
    // Chapters go in only when the component's container keeps them.
    std::optional<ExportComponent> component;
    ExportSettings exportSettings;
};

// "video", "sound", "text" or "other".
const char* mediaTypeName(MediaType type);

struct Size final {
    float width = 0;
    float height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// One entry of a track's edit list: a range of one source stream's samples,
// placed in the track for `duration`. The duration differs from the source
// range's once the edit has been scaled. An edit without a source is an empty
// edit: a gap of `duration` in which the track shows or plays nothing.
struct Edit final {
    std::shared_ptr<SourceFile> source;
    int streamIndex = -1;
    TimeRange sourceRange; // in the source stream's own time scale
    Time duration;         // in the track's time scale
};

// A track: the samples of one media type, laid out in time by an edit list.
struct Track final {
    MediaType mediaType = MediaType::Other;
    std::string codecName;      // FFmpeg's short codec name, e.g. "h264", "aac"
    std::int32_t timeScale = 0; // units per second of the edits' durations
    Size naturalSize;           // video only: display size (pixel aspect and rotation applied)
    std::vector<Edit> edits;

    // Sum of the edits' durations.
    Time duration() const;
};

// A movie: tracks of edit lists over the samples of source files, with the
// attributes people see. Opening a file makes one track per usable stream with
// one edit spanning the stream; editing rearranges edits, and writing
// produces a new file from them. One Movie is used by one thread at a time.
class Movie final {
public:
    // How long a still picture lasts when it opens as a movie: long enough
    // to be seen in a slideshow made by joining pictures.
    static constexpr std::int64_t kPictureDurationSeconds = 5;
    // The scale of movies that have no track to take one from (and of pictures).
    static constexpr std::int32_t kDefaultTimeScale = 600;

    // Whether the file would open as a movie. Probes the container and its
    // streams only; nothing is decoded, so it is quick even on long files.
    static bool canOpen(const std::filesystem::path& path);
    // Opens a movie, a picture (one frame lasting kPictureDurationSeconds) or
    // a sound file; QuickTime reference movies load the files they refer to.
    [[nodiscard]] static std::expected<std::shared_ptr<Movie>, Error> open(const std::filesystem::path& path);
    // A new empty movie with no file, no tracks and a zero duration.
    static std::shared_ptr<Movie> makeEmpty();

    ~Movie();
    Movie(const Movie&) = delete;
    Movie& operator=(const Movie&) = delete;

    // The file name without its extension, as a desktop that hides extensions shows it.
    QString displayName() const;
    void setDisplayName(const QString& name);
    // The file the movie was opened from (empty for a new movie).
    const std::filesystem::path& fileName() const { return m_fileName; }

    // The largest width and the largest height of the video tracks.
    Size naturalSize() const;
    // See Movie.cpp: the finest scale among the tracks, else kDefaultTimeScale.
    std::int32_t timeScale() const { return m_timeScale; }
    // The end of the longest track, in the movie's time scale.
    Time duration() const;

    Time currentTime() const { return m_currentTime; }
    void setCurrentTime(const Time& time);
    Time posterTime() const { return m_posterTime; }
    void setPosterTime(const Time& time);
    TimeRange selection() const { return m_selection; }
    void setSelection(const TimeRange& range);

    bool isEditable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }

    // Inserts `sourceRange` of another movie at `atTime`: the n-th source track
    // of each media type goes into the n-th track of that type (made when
    // missing), and tracks the source has nothing for get a gap, so every
    // track stays in step and the movie grows by the range's duration. The
    // movie must be editable; false when it is not or the times are negative.
    [[nodiscard]] bool insertSegment(const Movie& source, const TimeRange& sourceRange, const Time& atTime);
    // Stretches or shrinks `range` of every track to `newDuration`; the edits
    // inside it play their samples faster or slower. False when not editable.
    [[nodiscard]] bool scaleSegment(const TimeRange& range, const Time& newDuration);

    const std::vector<Track>& tracks() const { return m_tracks; }
    std::vector<const Track*> tracksOfType(MediaType type) const;
    bool hasTrackOfType(MediaType type) const;

    // The image shown at `time`: the frame whose display interval holds it,
    // found by seeking to the key frame before it and decoding forward.
    // Scaled to the natural size and rotated upright. None when no video
    // shows at that time or decoding fails.
    std::optional<QImage> frameImage(const Time& time) const;

    // Writes the movie to a new file, atomically: a failed or cancelled write
    // leaves nothing behind and never replaces an existing file. When every
    // track's sources are QuickTime or MPEG-4 files with matching codec
    // parameters and the destination is .mov or .mp4, the samples are copied
    // without decoding (or referred to); otherwise the movie is re-encoded
    // (H.264 and AAC), which cannot refer to its sources. See MovieWrite.cpp.
    [[nodiscard]] std::expected<void, Error> write(const std::filesystem::path& destination,
                                                   const WriteOptions& options) const;

    // The chapters of the file the movie was opened from, in time order (none
    // for a new movie). Scaling a segment scales them with it, and inserting
    // a segment moves those after the insertion point; updateMovieFile writes
    // them back. Read from the container's chapters (a QuickTime 'chap' text
    // track, Matroska chapters, ...).
    const std::vector<MovieChapter>& chapters() const { return m_chapters; }
    void setChapters(std::vector<MovieChapter> chapters) { m_chapters = std::move(chapters); }

    // Whether updateMovieFile may replace the movie's own file: the movie has
    // one, a QuickTime or MPEG-4 movie (other files would have to be encoded
    // again), and both the file and its folder may be written.
    bool canUpdateMovieFile() const;
    // Saves the movie, edits and chapters included, into its own file: written
    // beside it and renamed over it only when complete, so a failure leaves
    // the file exactly as it was. The movie's sources may be that very file:
    // it is read until the rename. The file keeps its kind (self-contained, or
    // referring to other files); `progress` is as for write. On success the
    // movie is opened again from the new file.
    [[nodiscard]] std::expected<void, Error>
    updateMovieFile(const std::function<bool(int phase, double fraction)>& progress = {});

    // The number of video samples shown by the movie, read from the
    // container's sample index where it has one, otherwise by reading the
    // packets (never by decoding). 0 for a movie without video.
    std::int32_t frameCount() const;

private:
    Movie() = default;

    std::filesystem::path m_fileName;
    QString m_displayName;
    std::int32_t m_timeScale = kDefaultTimeScale;
    std::vector<Track> m_tracks;
    std::vector<MovieChapter> m_chapters;
    Time m_currentTime;
    Time m_posterTime;
    TimeRange m_selection;
    bool m_editable = false;

    friend class MovieLoader;
};

} // namespace media
