#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// joinclip split --at TIME [--at TIME...] FILE [-o FIRST -o SECOND...]
int runSplitCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
