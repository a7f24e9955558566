// The program's module: every command but the quick ones, and the window.
// Loaded by main.cpp when the arguments ask for them, so that the quick
// commands start without Qt Gui and Widgets, Exiv2, libplist and the rest.

#include "cli/CommandLineMain.h"
#include "ui/DesktopApplication.h"

extern "C" __attribute__((visibility("default"))) int joinclip_program_main(int argc, char** argv) {
    if (cli::isCommandLineInvocation(argc, argv))
        return cli::runCommandLine(argc, argv);
    return ui::runDesktopApplication(argc, argv);
}
