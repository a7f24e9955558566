#pragma once

// Joins of whole files as the join engine asks for them, and the checks that
// a joined file holds its sources' packets as ffprobe, an independent reader, reads them.

#include "media/quicktime/WriteRequest.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quicktime_test {

// A request that joins whole files one after the other. Throws
// std::runtime_error when a file cannot be indexed.
// The movie's time scale is 600.
media::quicktime::WriteRequest
joinRequest(const std::vector<std::filesystem::path>& files, media::quicktime::OutputKind kind,
            media::quicktime::DataPlacement placement = media::quicktime::DataPlacement::SelfContained);

// The movie duration each file adds to a join, in the request's movie scale:
// the end of its longest track.
std::vector<std::int64_t> joinedDurations(const media::quicktime::WriteRequest& request);

struct ProbedPacket final {
    std::int64_t position = -1;
    std::int64_t size = 0;
    double ptsSeconds = 0;
    bool key = false;
    bool discard = false; // read only to prime a decoder, as the edit lists say
    std::string hash;     // MD5 of the data
};

// ffprobe -show_packets for the streams `selector` picks ("v", "a", "v:1",
// ...), with `extraArguments` before the file (for example -enable_drefs 1).
// `raw`: every sample in decode order, edit lists ignored.
std::vector<ProbedPacket> probePackets(const std::filesystem::path& file, const std::string& selector,
                                       bool raw = false, const std::vector<std::string>& extraArguments = {});

// The streams `selector` picks in the sources, one after the other from
// `firstStart` seconds, are those `joinedSelector` (else `selector`) picks in
// `joined`, read with `extraArguments`: every sample with the same data, size and
// key flag (edit lists ignored), and each shown packet shown, in order, at its
// source's time moved by where the source starts (edit lists applied).
void expectJoinedStreams(const std::vector<std::filesystem::path>& sources,
                         const std::filesystem::path& joined, const std::string& selector,
                         const std::vector<std::string>& extraArguments = {},
                         const std::string& joinedSelector = {}, double firstStart = 0);

} // namespace quicktime_test
