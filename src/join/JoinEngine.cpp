#include "join/JoinEngine.h"

#include "support/FormatText.h"

#include <QFile>
#include <algorithm>
#include <cerrno>

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
// bytes that cannot be used are reported and the component's defaults used,
// as for a component whose settings were never edited.
std::expected<void, media::Error> chooseComponent(const JoinRequest& request, media::WriteOptions& options,
                                                  support::Console& console) {
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
            console.writeLine("JoinClip error: the export settings of " + description.name +
                              " cannot be used; its defaults are used instead");
    }
    return {};
}

// The console line of a write that failed, with the reason.
void reportNotSaved(support::Console& console, const std::filesystem::path& destination,
                    const media::Error& error) {
    console.writeLine(support::fillFormat("The movie could not be saved to: \"%@\", try another filename",
                                          {QFile::decodeName(destination.c_str())}) +
                      " (" + QString::fromStdString(error.message) + ")");
}

} // namespace

std::expected<std::shared_ptr<media::Movie>, media::Error>
appendMovies(const JoinRequest& request, JoinDelegate& delegate, support::Console& console) {
    delegate.showSpinner(true);
    auto joined = media::Movie::makeEmpty();
    joined->setEditable(true);

    // Chapter starts are kept as exact times (never as 32-bit values, which
    // overflow for long joins in fine time scales).
    std::vector<media::Time> chapterStarts;
    const int count = static_cast<int>(request.movies.size());
    for (int i = 0; i < count; ++i) {
        const media::Movie& movie = *request.movies[static_cast<std::size_t>(i)];
        chapterStarts.push_back(joined->duration());
        if (!joined->insertSegment(movie, media::makeTimeRange(media::zeroTime(), movie.duration()),
                                   joined->duration())) {
            // Nothing is written from a join that lost one of its movies.
            console.writeLine(support::fillFormat("JoinClip error: movie %d of %d could not be inserted",
                                                  {QString::number(i + 1), QString::number(count)}));
            delegate.showSpinner(false);
            return std::unexpected(media::Error{EINVAL, "the movie " + movie.fileName().string() +
                                                            " could not be added to the joined movie"});
        }
        delegate.message(support::fillFormat("Processed movie: %d of %d",
                                             {QString::number(i + 1), QString::number(count)}));
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
        if (auto chosen = chooseComponent(request, options, console); !chosen) {
            delegate.showSpinner(false);
            reportNotSaved(console, request.destFilePath, chosen.error());
            return std::unexpected(chosen.error());
        }
    options.progress = [&](int phase, double fraction) {
        return delegate.shouldContinueOperation(phase, fraction, request.destFilePath);
    };

    // The chapter track is written with the movie rather than added to it afterwards.
    delegate.message(support::fillFormat("Saving movie: %@", {fileName}));
    const auto written = joined->write(request.destFilePath, options);
    if (!written) {
        delegate.showSpinner(false);
        reportNotSaved(console, request.destFilePath, written.error());
        return std::unexpected(written.error());
    }
    // Told whenever chapters are asked for; a movie without video gets none.
    if (request.withChapters)
        delegate.message(support::fillFormat("Chapterizing movie: %@", {fileName}));
    delegate.showSpinner(false);
    delegate.message("Finished processing movies!");
    return joined;
}

} // namespace join
