#pragma once

#include "join/ComponentDescription.h"
#include "join/UserText.h"
#include "media/Error.h"
#include "media/Movie.h"
#include "support/RequestJob.h"

#include <QString>
#include <QStringList>
#include <expected>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace join {

struct JoinRequest final {
    std::vector<std::shared_ptr<media::Movie>> movies; // in join order; only read
    std::vector<QString> titles;                       // the entries' titles, in step with movies
    std::filesystem::path destFilePath;
    bool flatten = true;      // false: a movie that refers to its sources
    bool withChapters = true; // a chapter track made from the titles
    // Written through this export component (found by its subtype and
    // manufacturer), with these settings bytes or, without any, its defaults;
    // `flatten` does not matter then.
    std::optional<ComponentDescription> component;
    std::optional<QByteArray> exportSettings;
    // Greater than 0: the written file is then scaled to last this many seconds.
    double desiredSeconds = 0;
};

// What a join that wrote its movie has to tell besides.
struct JoinResult final {
    // When a duration was asked for: whether the file was scaled to it (a
    // file that cannot be scaled stays as written), and why not.
    std::optional<bool> scaled;
    std::optional<media::Error> scalingError;
    // Lines for the console: what was used differently from the request.
    QStringList notes;
    // The movie was written (and scaled when asked) to the destination. A
    // cancel that arrives only after that still ends the job as cancelled.
    bool complete = false;
};

// Appends the movies end to end in a new movie and writes it to the
// destination, with a chapter per movie (its title, starting where the movie
// starts) when asked. `status` is told each step in the words of the status
// line; `progress` the fraction of the write done, answering false to stop it.
// A failed or stopped write leaves nothing at the destination.
[[nodiscard]] std::expected<void, media::Error>
writeJoinedMovie(const JoinRequest& request, const std::function<bool(double)>& progress,
                 const std::function<void(const QString&)>& status, QStringList& notes);

// The Join command's work: writeJoinedMovie, then the scaling asked for.
// Its phase text is the status line's; cancelling while the written file is
// being scaled removes the file.
class JoinJob final : public support::RequestJob<JoinRequest, JoinResult> {
public:
    using RequestJob::RequestJob;

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

// The chapters of a join: one per movie, each as long as the time its movie
// added to the joined one.
std::vector<UserText> captionsFor(const std::vector<media::Time>& chapterStarts,
                                  const std::vector<QString>& titles);

} // namespace join
