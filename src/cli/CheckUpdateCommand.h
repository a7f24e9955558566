#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// The exit statuses of `joinclip check-update`.
enum CheckUpdateStatus : int {
    kUpToDate = 0,
    kCheckFailed = 1, // no version file, or one that cannot be read
    kUsageError = 2,
    kUpdateAvailable = 3,
};

// `joinclip check-update [--url URL]`: fetches the version file (the one this
// build names, or URL) and prints whether a newer version is published.
int runCheckUpdateCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace cli
