#pragma once

namespace cli {

// What the `joinclip` process sets up before any command runs:
// - the open-file limit raised to what the system allows, since a list may
//   hold many thousands of files;
// - SIGTERM, SIGHUP (the terminal closed) and SIGINT end the process only
//   after removing the files it was in the middle of writing (see
//   media::FilesInProgress), so no partial file is left behind. While a write
//   runs, the first Ctrl-C cancels it instead (InterruptGuard); a second
//   one ends the process the same clean way.
void prepareProcess();

} // namespace cli
