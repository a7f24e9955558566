#pragma once

// A request that joins whole files one after the other, as the join engine
// makes for a lossless join.

#include "media/quicktime/WriteRequest.h"

#include <filesystem>
#include <vector>

namespace quicktime_test {

// Throws std::runtime_error when a file cannot be indexed.
media::quicktime::WriteRequest
joinRequest(const std::vector<std::filesystem::path>& files, media::quicktime::OutputKind kind,
            media::quicktime::DataPlacement placement = media::quicktime::DataPlacement::SelfContained,
            std::int32_t movieTimeScale = 600);

// The movie duration each file adds to a join, in the request's movie scale:
// the end of its longest track.
std::vector<std::int64_t> joinedDurations(const media::quicktime::WriteRequest& request);

} // namespace quicktime_test
