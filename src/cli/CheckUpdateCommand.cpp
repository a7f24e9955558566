#include "cli/CheckUpdateCommand.h"

#include "cli/CommandLine.h"
#include "net/UpdateCheckJob.h"
#include "net/VersionNumber.h"

#include <QCoreApplication>
#include <ostream>

namespace cli {

int runCheckUpdateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine line("check-update",
                     "Checks whether a newer JoinClip is published:\n  joinclip check-update [--url URL]\n"
                     "Exit status: 0 up to date, 3 a newer version is available, 1 the check failed.");
    line.addValue({"url"}, "URL", "The version file to read instead of the one this build names.");
    if (const auto status = line.parse(arguments, out, err))
        return *status;
    if (!line.positionalBytes().empty())
        return line.usageError("check-update takes no arguments", err);
    const QUrl address = line.isSet("url") ? QUrl(line.text("url")) : net::versionFileAddress();
    if (address.isEmpty()) {
        err << "joinclip check-update: this build names no version file to check (give one with --url)\n";
        return kCheckFailed;
    }
    const QString ours = QStringLiteral(JOINCLIP_VERSION);
    net::UpdateCheckJob check({.address = address, .ourNumber = net::versionNumber(ours)});
    (void)check.runHere();
    const net::UpdateCheckOutcome& outcome = check.outcome();
    switch (outcome.status) {
    case net::UpdateCheckOutcome::Status::Newer:
        out << "An update is available for JoinClip: " << outcome.published.text.toStdString() << " (this is "
            << ours.toStdString() << ")\n";
        return kUpdateAvailable;
    case net::UpdateCheckOutcome::Status::Current:
        out << "Your software is up to date: " << ours.toStdString() << " (published: "
            << outcome.published.text.toStdString() << ")\n";
        return kUpToDate;
    case net::UpdateCheckOutcome::Status::Unreadable:
        err << "joinclip check-update: The current version information could not be read.\n";
        return kCheckFailed;
    case net::UpdateCheckOutcome::Status::Failed:
        break;
    }
    err << "joinclip check-update: " << address.toString(QUrl::RemoveUserInfo).toStdString() << ": "
        << outcome.failure.message << "\n";
    return kCheckFailed;
}

} // namespace cli
