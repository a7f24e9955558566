#pragma once

namespace cli {

// Whether the arguments ask for a command (or an option such as --help)
// rather than for the window: no arguments, or file paths, open the window.
bool isCommandLineInvocation(int argc, char** argv);

// Runs the command the arguments name; answers the process's exit status.
int runCommandLine(int argc, char** argv);

} // namespace cli
