// joinclip: the window when started with no command (files given are added to
// its list), the headless command otherwise.

#include "cli/CommandLineMain.h"
#include "ui/DesktopApplication.h"

int main(int argc, char** argv) {
    if (cli::isCommandLineInvocation(argc, argv))
        return cli::runCommandLine(argc, argv);
    return ui::runDesktopApplication(argc, argv);
}
