#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip filter --filter NAME [--filter NAME]... FILE -o OUT.mp4`: renders
// FILE through the filters (identifiers or menu names) into a new MPEG-4
// movie, never replacing a file. Answers the exit status (0 done, 1 failed,
// 2 usage error).
int runFilterCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// `joinclip filters`: the filter menu, one row a line: identifier, then name.
int runFiltersCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
