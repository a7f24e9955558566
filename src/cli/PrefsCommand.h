#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `joinclip prefs list|get KEY|set KEY VALUE|delete KEY`: the preferences
// store that the application and every other command read. Answers the exit status.
int runPrefsCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
