#pragma once

#include "join/ComponentDescription.h"
#include "media/Movie.h"
#include "support/RequestJob.h"

#include <QByteArray>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace join {

struct ExportRequest final {
    struct Item final {
        std::shared_ptr<media::Movie> movie; // only read
        std::filesystem::path source;        // the movie's file
    };
    std::vector<Item> items; // in list order
    std::filesystem::path folder;
    ComponentDescription component;
    std::optional<QByteArray> exportSettings; // none: the component's defaults
    bool preserveDates = false;               // each export gets its source's dates
};

struct ExportResult final {
    std::vector<std::filesystem::path> written; // complete files, in list order
    QStringList failed;                         // the names of the sources not exported
    QStringList notes;                          // lines for the console (see JoinResult)
};

// The Export command's work: every item converted on its own through the
// component into the folder, under a free name (an export never replaces a
// file). Its phase text is the status line's. Cancelling stops the file
// being written, which leaves nothing; the files finished before it stay.
class ExportJob final : public support::RequestJob<ExportRequest, ExportResult> {
public:
    using RequestJob::RequestJob;

protected:
    [[nodiscard]] std::expected<void, media::Error> run() override;
};

} // namespace join
