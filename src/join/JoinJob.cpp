#include "join/JoinJob.h"

#include "join/MovieFileScaling.h"
#include "support/FormatText.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cmath>

namespace join {

std::vector<UserText> captionsFor(const std::vector<media::Time>& chapterStarts,
                                  const std::vector<QString>& titles) {
    std::vector<UserText> captions;
    for (std::size_t i = 0; i + 1 < chapterStarts.size() && i < titles.size(); ++i)
        captions.push_back({media::subtractTimes(chapterStarts[i + 1], chapterStarts[i]), titles[i]});
    return captions;
}

namespace {

// The write options for exporting through the request's component. Settings
// bytes that cannot be used are noted and the component's defaults used, as
// for a component whose settings were never edited.
std::expected<void, media::Error> chooseComponent(const JoinRequest& request, media::WriteOptions& options,
                                                  QStringList& notes) {
    const ComponentDescription& description = *request.component;
    options.component = media::findExportComponent(description.subtype, description.manufacturer);
    if (!options.component)
        return std::unexpected(media::Error{ENOENT, "there is no export component \"" +
                                                        description.name.toStdString() + "\" in this build"});
    options.placement = media::WritePlacement::SelfContained;
    if (request.exportSettings) {
        auto settings = media::decodeExportSettings(*request.exportSettings);
        if (settings && media::checkExportSettings(*options.component, *settings))
            options.exportSettings = *settings;
        else
            notes << "JoinClip error: the export settings of " + description.name +
                         " cannot be used; its defaults are used instead";
    }
    return {};
}

} // namespace

std::expected<void, media::Error> writeJoinedMovie(const JoinRequest& request,
                                                   const std::function<bool(double)>& progress,
                                                   const std::function<void(const QString&)>& status,
                                                   QStringList& notes) {
    auto joined = media::Movie::makeEmpty();
    joined->setEditable(true);

    // Chapter starts are kept as exact times (never as 32-bit values, which
    // overflow for long joins in fine time scales).
    std::vector<media::Time> chapterStarts;
    const int count = static_cast<int>(request.movies.size());
    for (int i = 0; i < count; ++i) {
        const media::Movie& movie = *request.movies[static_cast<std::size_t>(i)];
        chapterStarts.push_back(joined->duration());
        // Nothing is written from a join that lost one of its movies.
        if (!joined->insertSegment(movie, media::makeTimeRange(media::zeroTime(), movie.duration()),
                                   joined->duration()))
            return std::unexpected(media::Error{
                EINVAL, support::fillFormat("movie %d of %d (%@) could not be added to the joined movie",
                                            {QString::number(i + 1), QString::number(count),
                                             QFile::decodeName(movie.fileName().c_str())})
                            .toStdString()});
        status(support::fillFormat("Processed movie: %d of %d", {QString::number(i + 1), QString::number(count)}));
    }
    chapterStarts.push_back(joined->duration());

    const QString fileName = QFile::decodeName(request.destFilePath.filename().c_str());
    media::WriteOptions options;
    options.placement =
        request.flatten ? media::WritePlacement::SelfContained : media::WritePlacement::Referring;
    const bool chapterize = request.withChapters && joined->hasTrackOfType(media::MediaType::Video);
    if (chapterize)
        for (const UserText& caption : captionsFor(chapterStarts, request.titles))
            options.chapters.push_back({caption.text, caption.duration});
    if (request.component)
        if (auto chosen = chooseComponent(request, options, notes); !chosen)
            return chosen;
    options.progress = [&progress](int, double fraction) {
        return !progress || progress(std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0);
    };

    // The chapter track is written with the movie rather than added to it afterwards.
    status(support::fillFormat("Saving movie: %@", {fileName}));
    if (auto written = joined->write(request.destFilePath, options); !written)
        return written;
    // Told whenever chapters are asked for; a movie without video gets none.
    if (request.withChapters)
        status(support::fillFormat("Chapterizing movie: %@", {fileName}));
    status("Finished processing movies!");
    return {};
}

std::expected<void, media::Error> JoinJob::run() {
    m_outcome = {};
    const bool scaling = m_request.desiredSeconds > 0;
    // The rewrite of a scaling costs about what the write did.
    const double writeShare = scaling ? 0.5 : 1.0;
    const auto status = [this](const QString& text) { reportProgress(fraction(), text); };
    if (auto written = writeJoinedMovie(m_request, progressCallback(0.0, writeShare), status, m_outcome.notes);
        !written)
        return isCancelled() ? std::unexpected(support::cancelledError()) : written;
    if (scaling && !isCancelled()) {
        auto scaled = scaleMovieFile(m_request.destFilePath, m_request.desiredSeconds,
                                     progressCallback(writeShare, 1.0));
        m_outcome.scaled = scaled.has_value();
        if (!scaled)
            m_outcome.scalingError = scaled.error();
    }
    if (isCancelled()) {
        // Stopped after the write or during the scaling: the join as a whole
        // was cancelled, so the movie it wrote goes too.
        std::error_code ignored;
        std::filesystem::remove(m_request.destFilePath, ignored);
        return std::unexpected(support::cancelledError());
    }
    m_outcome.complete = true;
    return {};
}

} // namespace join
