#pragma once

namespace ui {

// Runs JoinClip's window until the user quits; file paths among the arguments
// are added to the list as if opened from the file manager. Answers the
// process's exit status.
int runDesktopApplication(int argc, char** argv);

} // namespace ui
