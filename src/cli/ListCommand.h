#pragma once

#include <QString>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// `joinclip list [--sort] [--sort-by KEY] [--reverse] [--import FILE.txt] [--export FILE.txt]
// [--desired-duration DURATION] [--restore] [--save] [--verbose] [--json] PATH...`:
// builds the file list as the application does (restored, imported, then the
// paths added; then sorted and reversed; then exported) and prints it as the
// file table shows it, then the total-duration line (or all of it as one JSON
// object). Answers the exit status.
int runListCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// A cell of the table as printed: backslash, tab, newline and carriage return
// escaped as \\, \t, \n and \r, so every entry stays one line of tab-separated cells.
std::string escapeTableCell(const QString& text);
// The same for bytes as they are (a path that need not be UTF-8).
std::string escapeTableCell(std::string_view bytes);

} // namespace cli
