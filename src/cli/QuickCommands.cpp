#include "cli/QuickCommands.h"

#include "cli/InfoCommand.h"
#include "cli/ProcessSetup.h"

#include <QCoreApplication>
#include <iostream>
#include <string>
#include <vector>

namespace cli {

std::optional<int> runQuickCommand(int argc, char** argv) {
    if (argc < 2)
        return std::nullopt;
    const std::string command = argv[1];
    if (command != "--version" && command != "-V" && command != "info")
        return std::nullopt;
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName("JoinClip");
    QCoreApplication::setApplicationVersion(JOINCLIP_VERSION);
    if (command != "info") {
        std::cout << "joinclip " << JOINCLIP_VERSION << "\n";
        return 0;
    }
    cli::prepareProcess();
    // Arguments are kept as the bytes the shell gave: file names need not be UTF-8.
    const std::vector<std::string> rest(argv + 2, argv + argc);
    return cli::runInfoCommand(rest, std::cout, std::cerr);
}

} // namespace cli
