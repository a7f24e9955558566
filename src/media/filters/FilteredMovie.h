#pragma once

// A movie passed through a chain of image filters: written to an MPEG-4
// file, or read frame by frame for a preview. Both use the same chain on the
// same decoded frames, so a preview shows what the file will hold.

#include "media/Error.h"

#include <QImage>
#include <QStringList>

#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

namespace media::filters {

struct FilterRenderRequest final {
    std::filesystem::path source;
    std::filesystem::path output; // an .mp4 file
    QStringList filters;          // identifiers, in the order they apply
    // Whether a file already at `output` is replaced (the user agreed to it)
    // or kept, the run then failing with EEXIST.
    bool replaceExisting = true;
};

// Writes every frame of the source's picture through the filters as MPEG-4
// Part 2 video at high quality (each frame at its own time, so the result
// lasts as long as the source), with the source's first sound track (copied
// when MPEG-4 files can carry it, else made AAC). Decoding, filtering and
// encoding are spread over the machine's cores. `progress` hears the
// fraction done; answering false cancels (ECANCELED). On failure or cancel
// nothing is left at the output.
[[nodiscard]] std::expected<void, Error> renderFilteredMovie(const FilterRenderRequest& request,
                                                             const std::function<bool(double)>& progress);

// Reads a movie's picture frame by frame through a chain of filters.
class FilteredFrameReader final {
public:
    struct Frame final {
        QImage image;    // at the frame's coded size, filtered
        double seconds;  // when it is shown, from the movie's start
    };

    [[nodiscard]] static std::expected<std::unique_ptr<FilteredFrameReader>, Error>
    open(const std::filesystem::path& file);
    ~FilteredFrameReader();
    FilteredFrameReader(const FilteredFrameReader&) = delete;
    FilteredFrameReader& operator=(const FilteredFrameReader&) = delete;

    // The chain for the frames read from now on.
    void setFilters(const QStringList& identifiers);
    double duration() const;
    // Goes to the frame shown at `seconds`: the next frame read is that one.
    [[nodiscard]] std::expected<void, Error> seek(double seconds);
    // The next frame, or none at the end of the movie.
    [[nodiscard]] std::expected<std::optional<Frame>, Error> next();

private:
    struct State;
    explicit FilteredFrameReader(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

} // namespace media::filters
