#pragma once

// What ffprobe reads of a movie's streams and chapters.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace oracle {

struct ProbedStream final {
    std::string codecType; // "video", "audio", ...
    std::string codecName;
    std::string codecTag;           // as text, e.g. "mp4v"
    double start = 0;               // seconds
    double duration = 0;            // seconds; 0 when ffprobe tells none
    std::int64_t durationUnits = 0; // in the stream's time base
    long long packets = 0;          // counted by reading them
    long long frames = 0;           // as the container tells
    int width = 0;
    int height = 0;
    int sampleRate = 0;
    int channels = 0;
};

struct ProbedChapter final {
    std::string title;
    double start = 0;            // seconds
    std::int64_t startUnits = 0; // in the chapter's time base
};

// `extraArguments` go before the file (e.g. {"-enable_drefs", "1"}).
std::vector<ProbedStream> probeStreams(const std::filesystem::path& file,
                                       const std::vector<std::string>& extraArguments = {});
// The streams of one type ("video", "audio").
std::vector<ProbedStream> probeStreams(const std::filesystem::path& file, const std::string& codecType);
std::vector<ProbedChapter> probeChapterList(const std::filesystem::path& file);

} // namespace oracle
