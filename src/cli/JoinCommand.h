#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip join [-o PATH | --output-dir DIR] [--title TEXT]... [--chapters|--no-chapters] [--reference]
// [--duration DURATION] [--sort] FILE...`: runs the application's Join command on the files, with the same
// preferences, progress on stderr and the written path on stdout. -o answers the save panel;
// --output-dir, --chapters, --reference and --duration (the "DesiredDuration"
// to scale to) hold for this run only. Exit status 0 only when the file was
// written (and scaled, when a duration was asked for).
int runJoinCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
