#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// joinclip sound FILE -o OUT.aiff [--caf] [--wav]
int runSoundCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
