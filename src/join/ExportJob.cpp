#include "join/ExportJob.h"

#include "join/ExportDestination.h"
#include "join/JoinJob.h"
#include "platform/FileDates.h"
#include "support/FormatText.h"
#include "support/LocalizedString.h"

#include <QFile>

namespace join {

std::expected<void, media::Error> ExportJob::run() {
    m_outcome = {};
    const auto& items = m_request.items;
    const int count = static_cast<int>(items.size());
    const QString extension = m_request.component.extension;
    for (int i = 0; i < count && !isCancelled(); ++i) {
        const ExportRequest::Item& item = items[static_cast<std::size_t>(i)];
        const QString sourceName = QFile::decodeName(item.source.filename().c_str());
        const double from = static_cast<double>(i) / count, to = static_cast<double>(i + 1) / count;
        reportProgress(from, support::fillFormat(support::LocalizedString("Exporting file \"%@\" (%d of %d)"),
                                                 {sourceName, QString::number(i + 1), QString::number(count)}));

        // A free name, made ours. Without one (a folder we cannot write in),
        // the write itself tells why, unless the name is taken.
        const auto reserved = reserveExportDestination(m_request.folder, item.source, extension);
        JoinRequest request;
        request.movies = {item.movie};
        request.destFilePath =
            reserved ? reserved->path() : exportDestination(m_request.folder, item.source, extension);
        std::error_code taken;
        if (!reserved && std::filesystem::exists(std::filesystem::symlink_status(request.destFilePath, taken))) {
            m_outcome.failed << sourceName;
            continue;
        }
        request.component = m_request.component;
        request.exportSettings = m_request.exportSettings;
        request.withChapters = false;
        const auto status = [this](const QString& text) { reportProgress(fraction(), text); };
        if (!writeJoinedMovie(request, progressCallback(from, to), status, m_outcome.notes)) {
            if (!isCancelled())
                m_outcome.failed << sourceName;
            continue;
        }
        m_outcome.written.push_back(request.destFilePath);
        // Dates are kept where they can be: one that cannot be set leaves the
        // exported file as written, complete and good.
        if (m_request.preserveDates)
            [[maybe_unused]] const bool kept = platform::CopyFileDates(item.source, request.destFilePath);
    }
    if (isCancelled())
        return std::unexpected(support::cancelledError());
    return {};
}

} // namespace join
