#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip list [--sort] [--desired-duration SECONDS] [--restore] [--save] [--verbose] PATH...`:
// builds the file list as the application does and prints it as the file
// table shows it, then the total-duration line. Answers the exit status.
int runListCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
