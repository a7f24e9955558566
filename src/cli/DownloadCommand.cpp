#include "cli/DownloadCommand.h"

#include "cli/CommandLine.h"
#include "cli/OpenedPreferences.h"
#include "net/DownloadProgressLine.h"
#include "net/DownloadQueue.h"
#include "platform/FolderPreferences.h"
#include "support/UserDefaults.h"

#include <QEventLoop>
#include <QFile>
#include <ostream>

namespace cli {

int runDownloadCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine line("download",
                     "Downloads files from the web one after the other and prints the path of each finished "
                     "file:\n  joinclip download URL... [--output-dir DIR]");
    line.addValue({"output-dir"}, "DIR",
                  "The folder the files go to (default: the download folder of the preferences, else the "
                  "desktop's). A file of the same name is kept unless the AllowOverwrite preference is on.");
    line.addPositional("URL", "Web addresses (http or https).", "URL...");
    if (const auto status = line.parse(arguments, out, err))
        return *status;
    const std::vector<std::string> addresses = line.positionalBytes();
    if (addresses.empty())
        return line.usageError("no web address given", err);

    OpenedPreferences preferences(err);
    support::UserDefaults defaults(preferences.store());
    std::optional<std::filesystem::path> folder = line.path("output-dir");
    if (!folder)
        folder = platform::CopyDestinationFolderPath(preferences.store());
    std::error_code ignored;
    if (!folder || !std::filesystem::is_directory(*folder, ignored)) {
        err << "joinclip download: "
            << (folder ? "\"" + folder->string() + "\" is not a folder"
                       : std::string("no download folder: give one with --output-dir"))
            << "\n";
        return 1;
    }

    net::DownloadQueue queue({.destinationFolder = [folder] { return folder; },
                              .allowOverwrite = [&defaults] { return defaults.boolValue(support::Pref::AllowOverwrite); }});
    QEventLoop loop;
    int failures = 0;
    bool progressShown = false;
    const auto endProgressLine = [&] {
        if (progressShown)
            err << "\n";
        progressShown = false;
    };
    QObject::connect(&queue, &net::DownloadQueue::downloadStarted, &loop,
                     [&](const QString& address) { err << "Downloading " << address.toStdString() << "\n"; });
    QObject::connect(&queue, &net::DownloadQueue::downloadProgress, &loop,
                     [&](qint64 received, qint64 expected, std::uint32_t elapsed) {
                         err << "\r" << net::downloadProgressLine(received, expected, elapsed).toStdString()
                             << "  " << std::flush;
                         progressShown = true;
                     });
    QObject::connect(&queue, &net::DownloadQueue::downloadFinished, &loop, [&](const std::filesystem::path& file) {
        endProgressLine();
        out << file.string() << "\n" << std::flush;
    });
    QObject::connect(&queue, &net::DownloadQueue::downloadFailed, &loop,
                     [&](const QString& message, const QString& address) {
                         endProgressLine();
                         err << "joinclip download: " << address.toStdString() << ": " << message.toStdString()
                             << "\n";
                         ++failures;
                     });
    QObject::connect(&queue, &net::DownloadQueue::queueChanged, &loop, [&](const QString& statusLine) {
        if (statusLine.isEmpty())
            loop.quit();
    });
    for (const std::string& address : addresses)
        queue.enqueueMovieURL(QString::fromLocal8Bit(address.data(), static_cast<qsizetype>(address.size())),
                              std::nullopt);
    if (!queue.isIdle())
        loop.exec();
    return failures > 0 ? 1 : 0;
}

} // namespace cli
