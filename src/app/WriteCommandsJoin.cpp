// The Join command: the list joined into one movie, as a job.

#include "app/CommandRequests.h"
#include "app/Session.h"
#include "app/WriteCommands.h"
#include "join/JoinJob.h"
#include "join/OutputNaming.h"
#include "platform/FileNames.h"
#include "platform/FileReference.h"
#include "support/Console.h"
#include "support/LocalizedString.h"

#include <QFile>
#include <cerrno>
#include <memory>
#include <system_error>

namespace app {

namespace {

JoinOutcome outcomeOf(JoinOutcome::Status status) {
    JoinOutcome outcome;
    outcome.status = status;
    return outcome;
}

// The names of the listed files that are gone (their row number when even the name is lost).
QStringList missingFiles(filelist::FileList& list) {
    QStringList missing;
    for (int i = 0; i < list.count(); ++i)
        if (!list.pathOfEntry(i)) {
            const auto recorded = platform::recordedPathOfAlias(list.movies()[static_cast<std::size_t>(i)].alias);
            missing << (recorded ? QFile::decodeName(recorded->filename().c_str()) : QString::number(i + 1));
        }
    return missing;
}

} // namespace

JoinOutcome WriteCommands::join(const AskDestination& askDestination) {
    using Status = JoinOutcome::Status;
    if (m_jobs.isRunning())
        return outcomeOf(Status::NotSaved); // one write at a time; the window shows the one under way
    if (!checkListHoldsMovies())
        return outcomeOf(Status::NothingToJoin);
    filelist::FileList& list = m_session.fileList();
    // A listed file that is gone would be left out of the movie without a word: the join is refused, naming them.
    if (const QStringList missing = missingFiles(list); !missing.isEmpty()) {
        emit noticed({support::Told::Failure,
                      missing.size() == 1 ? "The movie was not joined: a listed file is missing."
                                          : "The movie was not joined: %d of the listed files are missing.",
                      "%@\n\nPut them back, or remove them from the list, and join again.",
                      {QString::number(missing.size())}, {missing.join("\n")}});
        return outcomeOf(Status::NothingToJoin);
    }
    const OutputFormat& format = m_session.outputFormat();
    // Exporting without a component would write a file of no known format.
    if (format.isExporting() && !checkComponentSelected())
        return outcomeOf(Status::NoComponent);
    // The extension of this join: the component's (or ".mov") as chosen now,
    // whatever the menu shows once the write has run.
    const QString extension = format.extension().value_or(QString(".mov"));

    const support::UserDefaults& defaults = m_session.defaults();
    const bool prompt = defaults.boolValue(support::Pref::PromptForFilename);
    const std::optional<std::filesystem::path> folder = m_session.outputFolder().path();
    const std::optional<QString>& baseName = list.defaultBaseName();
    // The default name is made ours before the write, so that it is still free
    // when the movie lands there; it goes again if nothing is written.
    auto reserved = std::make_shared<std::optional<join::ReservedName>>(
        prompt ? std::nullopt : join::reserveDefaultFilename(folder, baseName, extension));
    std::optional<std::filesystem::path> path;
    if (*reserved)
        path = (*reserved)->path();
    else if (!(path = askDestination(folder, join::defaultFilenameWithSaveCount(baseName, extension))))
        return outcomeOf(Status::NotSaved);

    auto request = makeJoinRequest(list, format, defaults, *path);
    if (!request) {
        emit noticed({support::Told::Information, request.error().message, request.error().informative});
        return outcomeOf(request.error().nothingToDo ? Status::NothingToJoin : Status::NotSaved);
    }

    auto job = std::make_unique<join::JoinJob>(std::move(*request));
    join::JoinJob& joining = *job;
    (void)m_jobs.start(std::move(job), writeTitle(), [this, &joining, extension, reserved] {
        const JoinOutcome outcome = finishJoin(joining, extension);
        reserved->reset(); // after the finished movie took its place, or to free the name
        emit joined(outcome);
    });
    return outcomeOf(Status::Started);
}

JoinOutcome WriteCommands::finishJoin(const join::JoinJob& job, const QString& extension) {
    using Status = JoinOutcome::Status;
    for (const QString& note : job.outcome().notes)
        m_console.writeLine(note);
    if (const auto& error = job.error()) {
        if (error->code == ECANCELED) {
            emit statusChanged(support::LocalizedString("The join was cancelled; nothing was written."));
            // Cancel was pressed as the job ended: what the user stopped leaves nothing either.
            if (job.outcome().complete) {
                std::error_code ignored;
                std::filesystem::remove(job.request().destFilePath, ignored);
            }
            return outcomeOf(Status::WriteCancelled);
        }
        // A failed write is told once, with its reason, never passed over: nothing was written.
        emit statusChanged(QString());
        emit noticed({support::Told::Failure, "The movie could not be saved.", "%@", {},
                      {QString::fromStdString(error->message)}});
        return outcomeOf(Status::WriteFailed);
    }
    JoinOutcome outcome = outcomeOf(Status::Written);
    outcome.path = job.request().destFilePath;
    outcome.scaled = job.outcome().scaled;
    if (auto renamed = platform::AddNameExtensionIfMissing(outcome.path, extension))
        outcome.path = std::move(*renamed);
    return outcome;
}

} // namespace app
