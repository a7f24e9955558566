#pragma once

#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip list [--sort] [--desired-duration DURATION] [--restore] [--save] [--verbose] [--json] PATH...`:
// builds the file list as the application does and prints it as the file
// table shows it, then the total-duration line (or all of it as one JSON
// object). Answers the exit status.
int runListCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// A cell of the table as printed: backslash, tab, newline and carriage return
// escaped as \\, \t, \n and \r, so every entry stays one line of tab-separated cells.
std::string escapeTableCell(const QString& text);

} // namespace cli
