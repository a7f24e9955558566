#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip join [-o PATH | --output-dir DIR] [--title TEXT]... [--chapters|--no-chapters] [--reference] [--sort] FILE...`:
// joins the files as the application's Join command does, with progress on
// stderr and the written path on stdout. Exit status 0 only when the file was written.
int runJoinCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
