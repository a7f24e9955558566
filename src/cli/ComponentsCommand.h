#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace cli {

// joinclip components: one line per export component: title, extension, information.
int runComponentsCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

// joinclip settings: makes, edits and shows export settings files (.qxst).
int runSettingsCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
