#pragma once

// Packets of one stream as ffprobe reads them: the independent view of what
// our index reader found and what our writer wrote.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quicktime_test {

struct ProbedPacket final {
    std::int64_t position = -1;
    std::int64_t size = 0;
    double ptsSeconds = 0;
    bool key = false;
    bool discard = false;
    std::string hash; // MD5 of the data, when asked for
};

// ffprobe -show_packets for the streams `selector` picks ("v", "a", "v:1", ...),
// with `extraArguments` before the file (for example -enable_drefs 1).
// FFmpeg's reader applies the edit lists: packets it reads only to prime a
// decoder come marked `discard`.
std::vector<ProbedPacket> probePackets(const std::filesystem::path& file, const std::string& selector,
                                       bool withHashes = false,
                                       const std::vector<std::string>& extraArguments = {});

// The same without the edit lists (-ignore_editlist 1): every sample of the
// tracks, in decode order.
std::vector<ProbedPacket> probeRawPackets(const std::filesystem::path& file, const std::string& selector,
                                          const std::vector<std::string>& extraArguments = {});

// The packets a player shows: those not marked discard.
std::vector<ProbedPacket> shownPackets(const std::vector<ProbedPacket>& packets);

} // namespace quicktime_test
