#pragma once

#include "app/JobRunner.h"
#include "support/Notice.h"

#include <QObject>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace join {
class ExportJob;
class JoinJob;
} // namespace join
namespace support {
class Console;
}

namespace app {

class Session;

// How a Join command ended.
struct JoinOutcome final {
    enum class Status {
        NothingToJoin,  // the list was empty, or a listed file is missing (told)
        NoComponent,    // exporting is on and no component is selected (told)
        NotSaved,       // the destination was not given, or was refused (told), or a job is under way
        WriteFailed,    // told, with its reason
        WriteCancelled, // cancelled by the user; nothing was written
        Written,
        Started, // the job runs: joined() tells how it ended
    };
    Status status = Status::NothingToJoin;
    std::filesystem::path path; // the final path of the written file
    std::optional<bool> scaled; // when a desired duration was asked for: whether it was applied
};

// The commands that write movies, each as a job on the runner: Join, the
// per-file Export, and a duration typed into the table's Duration cell.
// Their requests come from the session's list, output format, folders and
// preferences; what they tell goes out as notices and status lines.
class WriteCommands final : public QObject {
    Q_OBJECT
public:
    // Asks where to save the joined movie, opening on folder (when known)
    // with suggestedName; none when the user cancelled. The answer may lack
    // an extension, which is added after the write.
    using AskDestination = std::function<std::optional<std::filesystem::path>(
        const std::optional<std::filesystem::path>& folder, const QString& suggestedName)>;
    // Asks for the folder the exported files go to; none when cancelled.
    using AskFolder = std::function<std::optional<std::filesystem::path>()>;

    WriteCommands(Session& session, JobRunner& jobs, support::Console& console, QObject* parent = nullptr);

    // Join (WriteCommandsJoin.cpp): asks for the destination only when no
    // output folder is set or "PromptForFilename" is on. Answers Started, or
    // why it did not start; joined() tells how a started one ended.
    [[nodiscard]] JoinOutcome join(const AskDestination& askDestination);
    // Export (WriteCommandsExport.cpp): every listed file through the selected
    // component into the output folder, asking for one when none is set (it
    // serves this run only). exported() tells the files written.
    void exportFiles(const AskFolder& askFolder);
    // The Duration cell (WriteCommandsRescale.cpp): the entry's movie
    // rescaled to the typed duration and its file rewritten.
    void rescaleEntry(int row, const QString& typed);

signals:
    void noticed(const support::Notice& notice);
    void statusChanged(const QString& text);
    void joined(const app::JoinOutcome& outcome);
    void exported(const std::vector<std::filesystem::path>& written);

private:
    [[nodiscard]] JoinOutcome finishJoin(const join::JoinJob& job, const QString& extension);
    void finishExport(const join::ExportJob& job);
    // Whether the list holds a movie; when not, the user is told so.
    [[nodiscard]] bool checkListHoldsMovies();
    // Whether exporting has a component to go through; when not, the user is told so.
    [[nodiscard]] bool checkComponentSelected();
    [[nodiscard]] QString writeTitle() const;

    Session& m_session;
    JobRunner& m_jobs;
    support::Console& m_console;
};

} // namespace app

Q_DECLARE_METATYPE(app::JoinOutcome)
