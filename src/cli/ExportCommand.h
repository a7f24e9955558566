#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// joinclip export: converts each file on its own through an export component.
int runExportCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
