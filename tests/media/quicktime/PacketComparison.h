#pragma once

// Checks that a joined file holds its sources' packets, as ffprobe reads them.

#include "ProbePackets.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quicktime_test {

// `joined` is the sources' packets one after the other: same data (MD5),
// size and key flag, in the same order.
void expectConcatenation(const std::vector<std::vector<ProbedPacket>>& sources,
                         const std::vector<ProbedPacket>& joined);

// Each source's shown packets come back shown, in order, at the source's
// presentation times moved by the time the source starts in the join.
void expectShownAtJoinTimes(const std::vector<std::vector<ProbedPacket>>& sources,
                            const std::vector<double>& startSeconds, const std::vector<ProbedPacket>& joined);

// Both checks for the streams `selector` picks, sources and join read the
// same way (`extraArguments` go to ffprobe for the joined file only).
void expectJoinedStreams(const std::vector<std::filesystem::path>& sources,
                         const std::filesystem::path& joined, const std::string& selector,
                         const std::vector<std::string>& extraArguments = {});

} // namespace quicktime_test
