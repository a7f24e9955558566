#pragma once

#include <optional>

namespace cli {

// The commands the program runs itself, before (and without) loading the
// rest of JoinClip: `--version` and `info`. They need Qt Core and the media
// layer only, so they start about as fast as an empty Qt program; every other
// command and the window are in the program's module (see main.cpp).
// None when the arguments ask for something else.
std::optional<int> runQuickCommand(int argc, char** argv);

} // namespace cli
