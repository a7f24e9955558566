// The headless `joinclip` command: the application's work from a terminal.

#include "cli/CommandLineMain.h"

#include "cli/CheckUpdateCommand.h"
#include "cli/ComponentsCommand.h"
#include "cli/DownloadCommand.h"
#include "cli/ExportCommand.h"
#include "cli/FilterCommand.h"
#include "cli/FrameCommand.h"
#include "cli/InfoCommand.h"
#include "cli/JoinCommand.h"
#include "cli/ListCommand.h"
#include "cli/PrefsCommand.h"
#include "cli/ProcessSetup.h"
#include "cli/RenameCommand.h"
#include "cli/SoundCommand.h"
#include "cli/SplitCommand.h"

#include <QCoreApplication>
#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = R"(usage: joinclip [FILE...]
       joinclip COMMAND [ARGUMENTS]

With no command, JoinClip opens its window (with the files added, if any).

Commands:
  info [--json] FILE...   tell whether each file opens as a movie, and its
                          display name, duration, time scale, natural size,
                          tracks and frame count (--json: one JSON array)
  list [--sort] [--sort-by modification|creation|exif|title|path] [--reverse]
       [--import FILE.txt] [--export FILE.txt] [--desired-duration DURATION]
       [--restore] [--save] [--verbose] [--json] PATH...
                          build the file list as the application does and
                          print it as the file table shows it, then the
                          total-duration line (--json: one JSON object)
  rename --number|--unnumber [--sort-by KEY] [--reverse] PATH...
                          put the list position in front of each file's name
                          (000001 a.mov), or take the first word off again
  join [-o PATH | --output-dir DIR] [--title TEXT]... [--chapters|--no-chapters] [--reference]
       [--duration DURATION] [--sort] [--component TITLE [--settings FILE.qxst]] FILE...
                          join the files into one movie (copied without
                          re-encoding when they allow it), with chapters,
                          scaled to DURATION when asked; with --component,
                          exported in that format
  components              list the export components: title, extension, information
  export --component TITLE [--settings FILE.qxst] [--output-dir DIR] [--preserve-dates] FILE...
                          convert each file on its own through the component
                          (FILE.avi becomes FILE.avi.mp4 in the output folder)
  settings --component TITLE [--load FILE.qxst] [--set KEY=VALUE]... --save FILE.qxst
  settings --load FILE.qxst --show
                          make, edit or show an export settings file
  prefs list | get KEY | set KEY VALUE | delete KEY
                          read and change the preferences
  download [--output-dir DIR] URL...
                          download the files one after the other into the
                          download folder and print each finished file's path
  check-update [--url URL]
                          tell whether a newer JoinClip is published (exit
                          status 0 up to date, 3 newer, 1 the check failed)
  filter --filter NAME [--filter NAME]... FILE -o OUT.mp4
                          render the movie through the image filters, in
                          order, into a new MPEG-4 movie of the same length
  filters                 list the image filters: identifier, name
  frame [--at TIME] [--format tif|bmp|gif|jpg|png|jp2] [--quality Q] [--no-lzw] FILE -o OUT
                          save the frame shown at TIME as a picture
  split --at TIME [--at TIME]... FILE [-o FIRST -o SECOND...]
                          cut the movie exactly at the times into pieces
                          (copied, only the pictures from a cut to the next
                          key frame encoded again)
  sound FILE -o OUT.aiff [--caf] [--wav]
                          write the movie's sound as 16-bit AIFF (and
                          AAC .caf and 8-bit .wav copies)

Options:
  -h, --help              show this help (joinclip COMMAND --help: the command's options)
  --version               show the version
)";

} // namespace

namespace cli {

bool isCommandLineInvocation(int argc, char** argv) {
    if (argc < 2)
        return false;
    const std::string first = argv[1];
    if (first.starts_with('-'))
        return true;
    static const std::set<std::string> commands{"help",       "info",   "list",     "join", "rename",
                                                "components", "export", "settings", "prefs",
                                                "filter",     "filters",  "download", "check-update",
                                                "frame",      "split",    "sound"};
    if (commands.contains(first))
        return true;
    // Anything else is a file for the window, unless it cannot be one: a word
    // with no slash or dot that names nothing is a mistyped command.
    std::error_code error;
    return first.find_first_of("/.") == std::string::npos && !std::filesystem::exists(first, error);
}

int runCommandLine(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("JoinClip");
    QCoreApplication::setApplicationVersion(JOINCLIP_VERSION);
    cli::prepareProcess();

    // Arguments are kept as the bytes the shell gave: file names need not be UTF-8.
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = arguments.front();
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    if (command == "-h" || command == "--help" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version" || command == "-V") {
        std::cout << "joinclip " << JOINCLIP_VERSION << "\n";
        return 0;
    }
    if (command == "info")
        return cli::runInfoCommand(rest, std::cout, std::cerr);
    if (command == "list")
        return cli::runListCommand(rest, std::cout, std::cerr);
    if (command == "rename")
        return cli::runRenameCommand(rest, std::cout, std::cerr);
    if (command == "join")
        return cli::runJoinCommand(rest, std::cout, std::cerr);
    if (command == "components")
        return cli::runComponentsCommand(rest, std::cout, std::cerr);
    if (command == "export")
        return cli::runExportCommand(rest, std::cout, std::cerr);
    if (command == "settings")
        return cli::runSettingsCommand(rest, std::cout, std::cerr);
    if (command == "prefs")
        return cli::runPrefsCommand(rest, std::cout, std::cerr);
    if (command == "download")
        return cli::runDownloadCommand(rest, std::cout, std::cerr);
    if (command == "check-update")
        return cli::runCheckUpdateCommand(rest, std::cout, std::cerr);
    if (command == "filter")
        return cli::runFilterCommand(rest, std::cout, std::cerr);
    if (command == "filters")
        return cli::runFiltersCommand(rest, std::cout, std::cerr);
    if (command == "frame")
        return cli::runFrameCommand(rest, std::cout, std::cerr);
    if (command == "split")
        return cli::runSplitCommand(rest, std::cout, std::cerr);
    if (command == "sound")
        return cli::runSoundCommand(rest, std::cout, std::cerr);
    std::cerr << "joinclip: unknown command '" << command << "'\n\n" << kUsage;
    return 2;
}

} // namespace cli
