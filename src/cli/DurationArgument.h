#pragma once

#include "media/Time.h"

#include <expected>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace cli {

class CommandLine;

// The one reader of durations for every command (join --duration, list
// --desired-duration): any time form a person types (90, 90.5, 1:30, 1:02:03,
// 1:00:00:00, D:HH:MM:SS.U/SCALE), not negative, in seconds. Anything else
// (nan, inf, a sign, words) answers why not.
std::expected<double, std::string> readDuration(const std::string& text);

// The duration given to the option `name`, none when it is not given. When it
// cannot be read the usage error ("--NAME: why") is printed and its exit
// status answered.
[[nodiscard]] std::expected<std::optional<double>, int> durationOption(const CommandLine& options, const char* name,
                                                                       std::ostream& err);

// Whether movies of these durations, joined in the time scale `timeScale`,
// can be scaled to `seconds`: the total must come to at least one unit of
// the scale and each movie, stretched with it, must still fit a chapter's
// and a sample's 32-bit duration. Otherwise why not, for the user. 0 asks
// for no scaling and is always reachable.
std::expected<void, std::string> checkReachable(const std::vector<media::Time>& durations,
                                                std::int32_t timeScale, double seconds);

} // namespace cli
