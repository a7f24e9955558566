#include "cli/ListCommand.h"

#include "cli/HeadlessWindow.h"
#include "filelist/TableCells.h"
#include "media/Movie.h"
#include "platform/FileReference.h"
#include "platform/Preferences.h"

#include <ostream>

namespace cli {

namespace {

struct ListOptions final {
    bool sort = false;
    bool restore = false;
    bool save = false;
    bool verbose = false;
    std::optional<double> desiredDuration;
    std::vector<std::filesystem::path> paths;
};

// The columns the command prints, in the table's order (the icon is an image).
constexpr const char* kPrintedColumns[] = {"Index",         "Filename",     "Title", "Duration",
                                           "Date Modified", "Date Created", "Size",  "EXIF Date Time"};

std::optional<ListOptions> parseOptions(const std::vector<std::string>& arguments, std::ostream& err) {
    ListOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || !argument.starts_with("-") || argument == "-") {
            options.paths.emplace_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--sort") {
            options.sort = true;
        } else if (argument == "--restore") {
            options.restore = true;
        } else if (argument == "--save") {
            options.save = true;
        } else if (argument == "--verbose" || argument == "-v") {
            options.verbose = true;
        } else if (argument == "--desired-duration" && i + 1 < arguments.size()) {
            try {
                std::size_t used = 0;
                options.desiredDuration = std::stod(arguments[++i], &used);
                if (used != arguments[i].size())
                    throw std::invalid_argument("trailing text");
            } catch (const std::exception&) {
                err << "joinclip list: --desired-duration takes a number of seconds, not \"" << arguments[i]
                    << "\"\n";
                return std::nullopt;
            }
        } else {
            err << "joinclip list: unknown option " << argument << "\n";
            return std::nullopt;
        }
    }
    if (options.paths.empty() && !options.restore) {
        err << "usage: joinclip list [--sort] [--desired-duration SECONDS] [--restore] [--save] [--verbose] "
               "PATH...\n";
        return std::nullopt;
    }
    return options;
}

// Tells on stderr about a path that can add nothing; the application itself is silent about them.
bool reportUnusable(const std::filesystem::path& path, std::ostream& err) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        err << "joinclip: " << path.string() << ": no such file or folder\n";
        return true;
    }
    if (!std::filesystem::is_directory(path, error) && !media::Movie::canOpen(path)) {
        err << "joinclip: " << path.string() << ": not a movie, picture or sound file that can be read\n";
        return true;
    }
    return false;
}

} // namespace

int runListCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto options = parseOptions(arguments, err);
    if (!options)
        return 2;

    platform::Preferences store(platform::Preferences::defaultFile());
    if (const auto aside = store.setAsideFile())
        err << "joinclip: the preferences file was damaged; it was kept as " << aside->string() << "\n";
    HeadlessWindow window(options->verbose, err);
    app::JoinClipController controller(store, window.outlets());
    filelist::FileList& list = controller.fileList();
    if (options->desiredDuration)
        controller.defaults().setOverride(support::Pref::DesiredDuration, *options->desiredDuration);

    controller.awakeFromNib();
    if (options->restore)
        controller.applicationWillFinishLaunching();

    int status = 0;
    for (const auto& path : options->paths)
        if (reportUnusable(path, err))
            status = 1;

    if (options->sort) {
        list.joinClips(options->paths);
    } else {
        // One path after another, each at the end of the list.
        for (const auto& path : options->paths) {
            std::error_code error;
            if (std::filesystem::is_directory(path, error))
                list.addDirectoryItems(path);
            else if (const QByteArray reference = platform::getAlias(path); !reference.isEmpty())
                list.joinClip(reference, list.count(), std::nullopt);
        }
    }
    list.updateDurationTextField();

    const bool fullPath = controller.defaults().boolValue(support::Pref::DisplayFullPath);
    for (int row = 0; row < list.count(); ++row) {
        std::string line;
        for (const char* column : kPrintedColumns) {
            if (column != kPrintedColumns[0])
                line += '\t';
            line += filelist::objectValueForTableColumn(list, column, row, fullPath).toString().toStdString();
        }
        out << line << "\n";
    }
    if (!window.durationTextField().isHidden())
        out << window.durationTextField().text().toStdString() << "\n";

    if (options->save)
        controller.applicationWillTerminate();
    return status;
}

} // namespace cli
