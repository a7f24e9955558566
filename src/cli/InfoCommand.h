#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip info [--json] FILE...`: reports each file; answers the exit status
// (0 when every file opens, 1 when any does not, 2 for a usage error).
int runInfoCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
