// The Join command, its status line and alerts, and the output folder commands.

#include "app/JoinClipController.h"
#include "app/CommandRequests.h"
#include "join/JoinJob.h"
#include "join/OutputNaming.h"
#include "platform/DesktopServices.h"
#include "platform/FileNames.h"
#include "platform/FileReference.h"
#include "support/DoAlert.h"
#include "support/LocalizedString.h"
#include "support/Message.h"

#include <QFile>
#include <cerrno>
#include <system_error>

namespace app {

namespace {

JoinOutcome outcomeOf(JoinOutcome::Status status) {
    JoinOutcome outcome;
    outcome.status = status;
    return outcome;
}

} // namespace

void JoinClipController::message(const QString& text) {
    support::message(*m_outlets.fileList.messagesTextField, *m_outlets.fileList.eventPump, text);
}

void JoinClipController::doAlert(const QString& messageText, const QString& informative,
                                 support::WindowHandle* parentWindow, const QStringList& messageArguments,
                                 const QStringList& informativeArguments) {
    support::doAlert(*m_outlets.join.alerts, messageText, informative, parentWindow, messageArguments,
                     informativeArguments);
}

JoinOutcome JoinClipController::join() {
    using Status = JoinOutcome::Status;
    const JoinCommandOutlets& outlets = m_outlets.join;
    if (isRunningJob())
        return outcomeOf(Status::NotSaved); // one write at a time; the sheet shows the one under way
    if (m_movies.count() == 0) {
        doAlert(noMoviesRefusal().message, noMoviesRefusal().informative, outlets.fileListWindow);
        return outcomeOf(Status::NothingToJoin);
    }
    // A listed file that is gone would be left out of the movie without a word: the join is refused, naming them.
    QStringList missing;
    for (int i = 0; i < m_movies.count(); ++i)
        if (!m_movies.pathOfEntry(i)) {
            const auto recorded = platform::recordedPathOfAlias(m_movies.movies()[static_cast<std::size_t>(i)].alias);
            missing << (recorded ? QFile::decodeName(recorded->filename().c_str()) : QString::number(i + 1));
        }
    if (!missing.isEmpty()) {
        support::doErrorAlert(*outlets.alerts,
                              missing.size() == 1 ? "The movie was not joined: a listed file is missing."
                                                  : "The movie was not joined: %d of the listed files are missing.",
                              "%@\n\nPut them back, or remove them from the list, and join again.",
                              outlets.fileListWindow, {QString::number(missing.size())}, {missing.join("\n")});
        return outcomeOf(Status::NothingToJoin);
    }
    // Exporting without a component would write a file of no known format.
    if (m_outputFormat.isExporting() && !checkComponentSelected())
        return outcomeOf(Status::NoComponent);
    // The extension of this join: the component's (or ".mov") as chosen now,
    // whatever the menu shows once the write has run.
    const QString extension = m_outputFormat.extension().value_or(QString(".mov"));

    std::optional<std::filesystem::path> path = defaultFilename();
    // The default name is made ours before the write, so that it is still free
    // when the movie lands there; it goes again if nothing is written.
    auto reserved = std::make_shared<std::optional<join::ReservedName>>(
        path && !m_defaults.boolValue(support::Pref::PromptForFilename)
            ? join::reserveDefaultFilename(outputFolderPath(), m_defaultBaseName, extension)
            : std::nullopt);
    if (*reserved)
        path = (*reserved)->path();
    if (!path || m_defaults.boolValue(support::Pref::PromptForFilename)) {
        // No required type: the chosen name may lack an extension, which is added after the write.
        path = outlets.savePanel->runSavePanel(
            outputFolderPath(), join::defaultFilenameWithSaveCount(m_defaultBaseName, extension),
            std::nullopt);
        if (!path)
            return outcomeOf(Status::NotSaved);
    }

    auto request = makeJoinRequest(m_movies, m_outputFormat, m_defaults, *path);
    if (!request) {
        doAlert(request.error().message, request.error().informative, outlets.fileListWindow);
        return outcomeOf(request.error().nothingToDo ? Status::NothingToJoin : Status::NotSaved);
    }

    auto job = std::make_unique<join::JoinJob>(std::move(*request));
    join::JoinJob& joining = *job;
    runJob(std::move(job), writeTitle(nullptr), [this, &joining, extension, reserved] {
        m_lastJoin = finishJoin(joining, extension);
        reserved->reset(); // after the finished movie took its place, or to free the name
    });
    return m_jobsInBackground ? outcomeOf(Status::Started) : m_lastJoin;
}

JoinOutcome JoinClipController::finishJoin(const join::JoinJob& job, const QString& extension) {
    using Status = JoinOutcome::Status;
    const JoinCommandOutlets& outlets = m_outlets.join;
    for (const QString& note : job.outcome().notes)
        console().writeLine(note);
    if (const auto& error = job.error()) {
        message(QString());
        if (error->code == ECANCELED) {
            message(support::LocalizedString("The join was cancelled; nothing was written."));
            // Cancel was pressed as the job ended: what the user stopped leaves nothing either.
            if (job.outcome().complete) {
                std::error_code ignored;
                std::filesystem::remove(job.request().destFilePath, ignored);
            }
            return outcomeOf(Status::WriteCancelled);
        }
        // A failed write is told once, with its reason, never passed over: nothing was written.
        support::doErrorAlert(*m_outlets.join.alerts, "The movie could not be saved.", "%@", outlets.fileListWindow, {},
                {QString::fromStdString(error->message)});
        return outcomeOf(Status::WriteFailed);
    }

    JoinOutcome outcome = outcomeOf(Status::Written);
    const std::filesystem::path& path = job.request().destFilePath;
    outcome.path = path;
    outcome.scaled = job.outcome().scaled;
    if (auto renamed = platform::AddNameExtensionIfMissing(path, extension))
        outcome.path = std::move(*renamed);
    outlets.fileListWindow->setRepresentedFilename(outcome.path);
    outlets.fileListWindow->setTitle(QFile::decodeName(outcome.path.filename().c_str()));

    std::error_code error;
    if (m_defaults.boolValue(support::Pref::OpenFile) && std::filesystem::exists(outcome.path, error))
        outlets.desktop->openFile(outcome.path);
    return outcome;
}

} // namespace app
