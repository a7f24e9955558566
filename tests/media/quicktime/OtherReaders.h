#pragma once

// Readers other than FFmpeg that must accept what the writer makes.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quicktime_test {

struct ToolOutput final {
    int exitCode = -1;
    std::string output; // standard output and error together
};

// Runs an installed program; none when it is not installed.
std::optional<ToolOutput> runTool(const std::string& program, const std::vector<std::string>& arguments);

// mediainfo's count of tracks of a kind ("Video", "Audio", "Menu", ...); -1 without mediainfo.
int mediainfoTrackCount(const std::filesystem::path& file, const std::string& kind);

} // namespace quicktime_test
