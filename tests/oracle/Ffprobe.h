#pragma once

// ffprobe as an independent oracle: what another program reads from a file
// that our own code wrote or opened.

#include <QJsonObject>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace oracle {

bool ffprobeAvailable();
// ffprobe's standard output for these arguments (after "-v error"); throws on failure.
std::string runFfprobe(const std::vector<std::string>& arguments);
// ffprobe's JSON answer to these arguments (which ask for "-print_format json").
QJsonObject runFfprobeJson(const std::vector<std::string>& arguments);
// The container's duration in seconds.
double formatDuration(const std::filesystem::path& file);
// How long the file plays: the container's duration less any pre-roll before
// time zero (Opus pre-skip, AAC priming), which players never show.
double playedDuration(const std::filesystem::path& file);

} // namespace oracle
