#pragma once

// What ffprobe reads of a movie's timing: its streams' durations and its chapters.

#include <filesystem>
#include <string>
#include <vector>

namespace oracle {

struct ProbedStream final {
    std::string codecType; // "video", "audio", ...
    std::string codecName;
    double duration = 0; // seconds; 0 when ffprobe tells none
    long long packets = 0;
};

struct ProbedChapter final {
    std::string title;
    double start = 0; // seconds
    double end = 0;
};

// `extraArguments` go before the file (e.g. {"-enable_drefs", "1"}).
std::vector<ProbedStream> probeStreams(const std::filesystem::path& file,
                                       const std::vector<std::string>& extraArguments = {});
std::vector<ProbedChapter> probeChapterList(const std::filesystem::path& file);

} // namespace oracle
