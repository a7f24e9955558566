#include "PacketComparison.h"

#include "Ffprobe.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quicktime_test {

void expectConcatenation(const std::vector<std::vector<ProbedPacket>>& sources,
                         const std::vector<ProbedPacket>& joined) {
    std::size_t at = 0;
    for (std::size_t s = 0; s < sources.size(); ++s) {
        for (std::size_t i = 0; i < sources[s].size(); ++i, ++at) {
            ASSERT_LT(at, joined.size()) << "the join ends inside source " << s;
            const ProbedPacket& want = sources[s][i];
            const ProbedPacket& got = joined[at];
            ASSERT_EQ(got.hash, want.hash) << "source " << s << " packet " << i;
            ASSERT_EQ(got.size, want.size) << "source " << s << " packet " << i;
            ASSERT_EQ(got.key, want.key) << "source " << s << " packet " << i;
        }
    }
    EXPECT_EQ(at, joined.size()) << "the join has packets no source has";
}

void expectShownAtJoinTimes(const std::vector<std::vector<ProbedPacket>>& sources,
                            const std::vector<double>& startSeconds,
                            const std::vector<ProbedPacket>& joined) {
    const std::vector<ProbedPacket> shown = shownPackets(joined);
    std::size_t at = 0;
    for (std::size_t s = 0; s < sources.size(); ++s) {
        for (const ProbedPacket& want : shownPackets(sources[s])) {
            ASSERT_LT(at, shown.size()) << "the join shows fewer packets than its sources";
            const ProbedPacket& got = shown[at++];
            ASSERT_EQ(got.hash, want.hash) << "shown packet " << at - 1 << " (source " << s << ")";
            // ffprobe prints times to the microsecond.
            ASSERT_NEAR(got.ptsSeconds, want.ptsSeconds + startSeconds[s], 2e-6)
                << "shown packet " << at - 1 << " (source " << s << ")";
        }
    }
    EXPECT_EQ(at, shown.size()) << "the join shows packets no source shows";
}

void expectJoinedStreams(const std::vector<std::filesystem::path>& sources,
                         const std::filesystem::path& joined, const std::string& selector,
                         const std::vector<std::string>& extraArguments) {
    std::vector<std::vector<ProbedPacket>> raw;
    std::vector<std::vector<ProbedPacket>> edited;
    std::vector<double> starts;
    double start = 0;
    for (const auto& source : sources) {
        raw.push_back(probeRawPackets(source, selector));
        edited.push_back(probePackets(source, selector, true));
        starts.push_back(start);
        start += oracle::formatDuration(source);
    }
    {
        SCOPED_TRACE("every sample, edit lists ignored");
        expectConcatenation(raw, probeRawPackets(joined, selector, extraArguments));
    }
    {
        SCOPED_TRACE("what players show, edit lists applied");
        expectShownAtJoinTimes(edited, starts, probePackets(joined, selector, true, extraArguments));
    }
}

} // namespace quicktime_test
