#include "app/CommandRequests.h"

#include "app/OutputFormat.h"
#include "filelist/FileList.h"
#include "platform/FileReference.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"
#include "support/UserDefaults.h"

#include <QFile>
#include <cerrno>

namespace app {

QString writeTitle(const OutputFormat& format, const std::filesystem::path* fileName) {
    // The media framework's description of the write under way.
    QString title = QStringLiteral("Saving movie ");
    const auto component = format.isExporting() ? format.selectedTitle() : std::nullopt;
    if (component) {
        if (fileName)
            title += QFile::decodeName(fileName->filename().c_str()) + QString(", as %1").arg(*component);
        else
            title += QString("as %1").arg(*component);
    }
    return title;
}

std::optional<QString> exportSummary(const join::ExportJob& job) {
    const auto written = static_cast<qsizetype>(job.outcome().written.size());
    const QString folder = QFile::decodeName(job.request().folder.c_str());
    if (job.error() && job.error()->code == ECANCELED)
        return support::fillFormat(support::LocalizedString(written == 1
                                                                ? "Export cancelled; %d file was written to %@."
                                                                : "Export cancelled; %d files were written to %@."),
                                   {QString::number(written), folder});
    if (written > 0)
        return support::fillFormat(
            support::LocalizedString(written == 1 ? "%d file was exported to %@." : "%d files were exported to %@."),
            {QString::number(written), folder});
    return std::nullopt;
}

Refusal noMoviesRefusal() {
    return {"There are no movies to process.", "Add some movies to the file list and try again.", true};
}

std::expected<join::JoinRequest, Refusal> makeJoinRequest(filelist::FileList& list, const OutputFormat& format,
                                                          const support::UserDefaults& defaults,
                                                          const std::filesystem::path& destination) {
    join::JoinRequest request;
    for (int i = 0; i < list.count(); ++i) {
        const filelist::MovieEntry& entry = list.movies()[static_cast<std::size_t>(i)];
        const auto source = list.pathOfEntry(i);
        if (!source || !entry.movie)
            continue;
        // Replacing a source with the joined movie would destroy the source, and a
        // movie that refers to its sources would then refer to itself.
        if (platform::isSameFile(*source, destination))
            return std::unexpected(Refusal{"The joined movie can not replace one of the movies being joined.",
                                           "Choose another name or folder and try again."});
        request.movies.push_back(list.movieOfEntry(i)); // read where its file is now
        request.titles.push_back(entry.title);
    }
    if (request.movies.empty())
        return std::unexpected(noMoviesRefusal());
    request.destFilePath = destination;
    request.flatten = defaults.boolValue(support::Pref::Flatten);
    request.withChapters = defaults.boolValue(support::Pref::Chapterize);
    request.desiredSeconds = defaults.floatValue(support::Pref::DesiredDuration);
    if (format.isExporting()) {
        request.component = format.selected();
        request.exportSettings = format.selectedSettings();
    }
    return request;
}

join::ExportRequest makeExportRequest(filelist::FileList& list, const OutputFormat& format,
                                      const support::UserDefaults& defaults, const std::filesystem::path& folder) {
    join::ExportRequest request;
    request.folder = folder;
    if (const auto component = format.selected())
        request.component = *component;
    request.exportSettings = format.selectedSettings();
    request.preserveDates = defaults.boolValue(support::Pref::PreserveDates);
    // Each movie read where its file is now, after a rename or a move.
    for (int i = 0; i < list.count(); ++i) {
        const auto source = list.pathOfEntry(i);
        if (auto movie = list.movieOfEntry(i); source && movie)
            request.items.push_back({std::move(movie), *source});
    }
    return request;
}

Refusal noComponentRefusal() {
    return {"No export component is selected.",
            "Choose one in the Preferences window under 'Output Format', or turn exporting off."};
}

} // namespace app
