#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip download URL... [--output-dir DIR]`: downloads each address in
// turn through the application's download queue, with the progress line on
// err, and prints each finished file's path on out. Answers 0 when every
// download finished, 1 when any failed, 2 for a usage error.
int runDownloadCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
