#include "cli/DurationArgument.h"

#include "cli/CommandLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace cli {

std::expected<double, std::string> readDuration(const std::string& text) {
    const auto time = media::parseTime(text);
    if (!time || media::isIndefinite(*time) || time->scale <= 0)
        return std::unexpected("a duration is a number of seconds or a time such as 1:30, not \"" + text +
                               "\"");
    if (time->value < 0)
        return std::unexpected("a duration cannot be negative: \"" + text + "\"");
    return media::seconds(*time);
}

std::expected<std::optional<double>, int> durationOption(const CommandLine& options, const char* name,
                                                        std::ostream& err) {
    if (!options.isSet(name))
        return std::nullopt;
    const auto read = readDuration(options.bytes(name));
    if (!read)
        return std::unexpected(options.usageError("--" + std::string(name) + ": " + read.error(), err));
    return *read;
}

std::expected<void, std::string> checkReachable(const std::vector<media::Time>& durations,
                                                std::int32_t timeScale, double seconds) {
    if (seconds == 0)
        return {};
    double total = 0;
    double longest = 0;
    for (const media::Time& duration : durations) {
        const double each = media::seconds(duration);
        total += each;
        longest = std::max(longest, each);
    }
    if (!(total > 0) || !std::isfinite(total))
        return std::unexpected(std::string("the movies have no duration to scale"));
    const double scale = timeScale > 0 ? timeScale : 600;
    const double factor = seconds / total;
    if (seconds * scale < 1)
        return std::unexpected("it is shorter than one unit of the movie's time scale (1/" +
                               std::to_string(static_cast<long long>(scale)) + " second)");
    if (longest * factor * scale > static_cast<double>(UINT32_MAX))
        return std::unexpected(std::string("it would stretch a movie beyond what a movie file can hold"));
    return {};
}

} // namespace cli
