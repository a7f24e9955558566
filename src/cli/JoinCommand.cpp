#include "cli/JoinCommand.h"

#include "cli/HeadlessWindow.h"
#include "join/ExportChoice.h"
#include "join/JoinEngine.h"
#include "join/OutputNaming.h"
#include "join/ProgressEstimate.h"
#include "platform/FileNames.h"
#include "platform/FileReference.h"
#include "platform/FolderPreferences.h"
#include "platform/Preferences.h"

#include <QFile>
#include <chrono>
#include <cstdio>
#include <ostream>

namespace cli {

namespace {

constexpr const char* kUsage = "usage: joinclip join [-o PATH | --output-dir DIR] [--title TEXT]... "
                               "[--chapters|--no-chapters] [--reference] [--sort] [--component TITLE [--settings FILE.qxst]] FILE...\n";

struct JoinOptions final {
    std::filesystem::path output;
    std::optional<std::filesystem::path> outputFolder;
    std::vector<QString> titles;
    std::optional<bool> chapters;
    bool reference = false;
    bool sort = false;
    std::optional<QString> component;
    std::optional<std::filesystem::path> settingsFile;
    std::vector<std::filesystem::path> files;
};

std::optional<JoinOptions> parseOptions(const std::vector<std::string>& arguments, std::ostream& err) {
    JoinOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            options.files.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if ((argument == "-o" || argument == "--output") && hasValue) {
            options.output = arguments[++i];
        } else if (argument == "--output-dir" && hasValue) {
            options.outputFolder = std::filesystem::path(arguments[++i]);
        } else if (argument == "--title" && hasValue) {
            options.titles.push_back(QString::fromStdString(arguments[++i]));
        } else if (argument == "--chapters" || argument == "--no-chapters") {
            options.chapters = argument == "--chapters";
        } else if (argument == "--reference") {
            options.reference = true;
        } else if (argument == "--sort") {
            options.sort = true;
        } else if (argument == "--component" && hasValue) {
            options.component = QString::fromStdString(arguments[++i]);
        } else if (argument == "--settings" && hasValue) {
            options.settingsFile = std::filesystem::path(arguments[++i]);
        } else {
            err << "joinclip join: unknown option or missing value: " << argument << "\n" << kUsage;
            return std::nullopt;
        }
    }
    if (options.files.empty() || (options.settingsFile && !options.component)) {
        err << kUsage;
        return std::nullopt;
    }
    return options;
}

// Progress on stderr from the same numbers and time line the application's progress sheet shows.
class ConsoleJoinDelegate final : public join::JoinDelegate {
public:
    explicit ConsoleJoinDelegate(std::ostream& err) : m_err(err) {}
    void showSpinner(bool) override {}
    void message(const QString& text) override { m_err << text.toStdString() << "\n"; }
    bool shouldContinueOperation(int phase, double fraction, const std::filesystem::path& fileName) override {
        const auto now = std::chrono::steady_clock::now();
        if (phase == 0)
            m_start = now;
        const int percent = static_cast<int>(fraction * 100);
        if (phase == 1 && percent == m_lastPercent)
            return true;
        m_lastPercent = percent;
        const auto elapsed =
            static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::seconds>(now - m_start).count());
        support::ShortText line;
        join::timeLine(elapsed, join::remainingSeconds(elapsed, fraction), line);
        m_err << "\r" << fileName.filename().string() << ": " << percent << "%  " << line.view()
              << (phase == 2 ? "\n" : "") << std::flush;
        return true;
    }

private:
    std::ostream& m_err;
    int m_lastPercent = -1;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

} // namespace

int runJoinCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto options = parseOptions(arguments, err);
    if (!options)
        return 2;

    join::ExportChoice exportChoice;
    if (options->component) {
        auto chosen = join::chooseExport(*options->component, options->settingsFile);
        if (!chosen) {
            err << "joinclip join: " << chosen.error().message << "\n";
            return 2;
        }
        exportChoice = std::move(*chosen);
    }

    platform::Preferences store(platform::Preferences::defaultFile());
    HeadlessWindow window(false);
    app::JoinClipController controller(store, window.outlets());
    filelist::FileList& list = controller.fileList();

    if (options->sort) {
        list.joinClips(options->files);
    } else {
        for (const auto& file : options->files) {
            if (const QByteArray reference = platform::getAlias(file); !reference.isEmpty())
                list.joinClip(reference, list.count(), std::nullopt);
            controller.makeDefaultFilename(file, false);
        }
    }
    if (list.count() != static_cast<int>(options->files.size())) {
        err << "joinclip join: " << options->files.size() - static_cast<std::size_t>(list.count())
            << " of the files could not be opened as movies\n";
        return 1;
    }
    for (std::size_t i = 0; i < options->titles.size() && i < static_cast<std::size_t>(list.count()); ++i)
        list.setTitle(static_cast<int>(i), options->titles[i]);

    const QString extension = exportChoice.component ? exportChoice.component->extension : controller.getExtension();
    // The output: the path given, else the default name in the output folder.
    std::filesystem::path output = options->output;
    if (output.empty()) {
        const auto folder = options->outputFolder ? options->outputFolder : platform::CopyOutputFolderPath(store);
        const auto path = join::defaultFilename(folder, controller.defaultBaseName(), extension);
        if (!path) {
            err << "joinclip join: no output folder is set: give -o PATH or --output-dir DIR, or set one with "
                   "joinclip prefs\n";
            return 2;
        }
        output = *path;
    }

    join::JoinRequest request;
    for (const filelist::MovieEntry& entry : list.movies()) {
        request.movies.push_back(entry.qtkMovie);
        request.titles.push_back(entry.title);
    }
    request.destFilePath = output;
    request.flatten = !options->reference && controller.defaults().boolValue(support::Pref::Flatten);
    request.withChapters = options->chapters.value_or(controller.defaults().boolValue(support::Pref::Chapterize));
    request.component = exportChoice.component;
    request.exportSettings = exportChoice.settings;

    ConsoleJoinDelegate delegate(err);
    const auto joined = join::appendMovies(request, delegate);
    if (!joined) {
        err << "joinclip join: cannot write " << output.string() << ": " << joined.error().message << "\n";
        return 1;
    }
    // A name chosen without an extension gets the format's own.
    if (const auto renamed = platform::AddNameExtensionIfMissing(output, extension))
        output = *renamed;
    out << output.string() << "\n";
    return 0;
}

} // namespace cli
