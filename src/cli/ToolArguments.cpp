#include "cli/ToolArguments.h"

#include <set>

namespace cli {

std::expected<media::Time, std::string> readMovieTime(const std::string& text) {
    const auto time = media::parseTime(text);
    if (!time || media::isIndefinite(*time) || time->value < 0)
        return std::unexpected("'" + text + "' is not a time (seconds, M:SS, H:MM:SS or D:HH:MM:SS.U/SCALE)");
    return *time;
}

std::expected<void, std::string> checkOutputs(const std::filesystem::path& source,
                                              const std::vector<std::filesystem::path>& outputs, bool replace) {
    std::set<std::filesystem::path> seen;
    std::error_code error;
    for (const auto& output : outputs) {
        const auto normal = std::filesystem::absolute(output, error).lexically_normal();
        if (!seen.insert(normal).second)
            return std::unexpected(output.string() + " is named twice");
        if (std::filesystem::exists(output, error)) {
            if (std::filesystem::equivalent(output, source, error))
                return std::unexpected(output.string() + " is the source itself");
            if (!replace)
                return std::unexpected(output.string() + " exists (--replace writes over it)");
        }
    }
    return {};
}

} // namespace cli
