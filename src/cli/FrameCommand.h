#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// joinclip frame --at TIME [--format F] [--quality Q] [--no-lzw] FILE -o OUT
int runFrameCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
