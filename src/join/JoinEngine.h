#pragma once

#include "join/ComponentDescription.h"
#include "join/JoinDelegate.h"
#include "join/UserText.h"
#include "media/Error.h"
#include "media/Movie.h"
#include "support/Console.h"

#include <QString>
#include <expected>
#include <filesystem>
#include <memory>
#include <vector>

namespace join {

struct JoinRequest final {
    std::vector<std::shared_ptr<media::Movie>> movies; // in join order
    std::vector<QString> titles;                       // the entries' titles, in step with movies
    std::filesystem::path destFilePath;
    bool flatten = true;      // false: a movie that refers to its sources
    bool withChapters = true; // a chapter track made from the titles
    // Written through this export component (found by its subtype and
    // manufacturer), with these settings bytes or, without any, its defaults;
    // `flatten` does not matter then.
    std::optional<ComponentDescription> component;
    std::optional<QByteArray> exportSettings;
};

// Appends the movies end to end in a new movie and writes it to the
// destination, with a chapter per movie (its title, starting where the movie
// starts) when asked. Tells the delegate each step, and the console what
// went wrong. Answers the joined movie, or why it could not be written: a
// failed write is never reported as done.
[[nodiscard]] std::expected<std::shared_ptr<media::Movie>, media::Error>
appendMovies(const JoinRequest& request, JoinDelegate& delegate, support::Console& console);

// The chapters of a join: one per movie, each as long as the time its movie
// added to the joined one.
std::vector<UserText> captionsFor(const std::vector<media::Time>& chapterStarts,
                                  const std::vector<QString>& titles);

} // namespace join
