#include "JoinChecks.h"

#include "Ffprobe.h"
#include "media/quicktime/SourceSegments.h"

#include <QJsonArray>
#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>

namespace quicktime_test {

using namespace media::quicktime;

WriteRequest joinRequest(const std::vector<std::filesystem::path>& files, OutputKind kind,
                         DataPlacement placement) {
    WriteRequest request;
    request.kind = kind;
    request.placement = placement;
    request.movieTimeScale = 600;
    // A file named twice is one source, played twice.
    for (const auto& file : files) {
        auto known = std::ranges::find(request.sources, file, &WriteSource::path);
        if (known == request.sources.end())
            known = request.sources.insert(known, WriteSource{file, nullptr});
        if (auto appended =
                appendWholeSource(request, static_cast<std::int32_t>(known - request.sources.begin()));
            !appended)
            throw std::runtime_error(appended.error().message);
    }
    return request;
}

std::vector<std::int64_t> joinedDurations(const WriteRequest& request) {
    std::vector<std::int64_t> ends(request.sources.size(), 0);
    for (const OutputTrack& track : request.tracks) {
        std::int64_t time = 0;
        for (const Segment& segment : track.segments) {
            time += segment.duration;
            if (!segment.isEmpty())
                ends[static_cast<std::size_t>(segment.source)] =
                    std::max(ends[static_cast<std::size_t>(segment.source)], time);
        }
    }
    std::vector<std::int64_t> durations;
    for (std::size_t i = 0; i < ends.size(); ++i)
        durations.push_back(ends[i] - (i == 0 ? 0 : ends[i - 1]));
    return durations;
}

std::vector<ProbedPacket> probePackets(const std::filesystem::path& file, const std::string& selector,
                                       bool raw, const std::vector<std::string>& extraArguments) {
    std::vector<std::string> arguments = extraArguments;
    if (raw)
        arguments.insert(arguments.end(), {"-ignore_editlist", "1"});
    arguments.insert(arguments.end(), {"-select_streams", selector, "-show_packets", "-show_data_hash", "MD5",
                                       "-print_format", "json", file.string()});
    // ffprobe writes numbers as text, and leaves out what it does not know.
    const auto integer = [](const QJsonValue& value, std::int64_t otherwise) {
        bool ok = false;
        const qlonglong number = value.toString().toLongLong(&ok);
        return ok ? number : otherwise;
    };
    std::vector<ProbedPacket> packets;
    for (const QJsonValue& packet : oracle::runFfprobeJson(arguments).value("packets").toArray()) {
        const QString flags = packet["flags"].toString();
        packets.push_back({integer(packet["pos"], -1), integer(packet["size"], 0),
                           packet["pts_time"].toString().toDouble(), flags.contains('K'), flags.contains('D'),
                           packet["data_hash"].toString().toStdString()});
    }
    return packets;
}

namespace {

void expectConcatenation(const std::vector<std::vector<ProbedPacket>>& sources,
                         const std::vector<ProbedPacket>& joined) {
    std::size_t at = 0;
    for (std::size_t s = 0; s < sources.size(); ++s) {
        for (std::size_t i = 0; i < sources[s].size(); ++i, ++at) {
            ASSERT_LT(at, joined.size()) << "the join ends inside source " << s;
            const ProbedPacket& want = sources[s][i];
            const ProbedPacket& got = joined[at];
            ASSERT_TRUE(got.hash == want.hash && got.size == want.size && got.key == want.key)
                << "source " << s << " packet " << i;
        }
    }
    EXPECT_EQ(at, joined.size()) << "the join has packets no source has";
}

void expectShownAtJoinTimes(const std::vector<std::vector<ProbedPacket>>& sources,
                            const std::vector<double>& startSeconds,
                            const std::vector<ProbedPacket>& joined) {
    const auto shown = [](std::vector<ProbedPacket> packets) {
        std::erase_if(packets, [](const auto& packet) { return packet.discard; });
        return packets;
    };
    const std::vector<ProbedPacket> played = shown(joined);
    std::size_t at = 0;
    for (std::size_t s = 0; s < sources.size(); ++s) {
        for (const ProbedPacket& want : shown(sources[s])) {
            ASSERT_LT(at, played.size()) << "the join shows fewer packets than its sources";
            const ProbedPacket& got = played[at++];
            ASSERT_EQ(got.hash, want.hash) << "shown packet " << at - 1 << " (source " << s << ")";
            // ffprobe prints times to the microsecond.
            ASSERT_NEAR(got.ptsSeconds, want.ptsSeconds + startSeconds[s], 2e-6)
                << "shown packet " << at - 1 << " (source " << s << ")";
        }
    }
    EXPECT_EQ(at, played.size()) << "the join shows packets no source shows";
}

} // namespace

void expectJoinedStreams(const std::vector<std::filesystem::path>& sources,
                         const std::filesystem::path& joined, const std::string& selector,
                         const std::vector<std::string>& extraArguments, const std::string& joinedSelector,
                         double firstStart) {
    const std::string& inJoin = joinedSelector.empty() ? selector : joinedSelector;
    std::vector<std::vector<ProbedPacket>> raw, edited;
    std::vector<double> starts;
    double start = firstStart;
    for (const auto& source : sources) {
        raw.push_back(probePackets(source, selector, true));
        edited.push_back(probePackets(source, selector));
        starts.push_back(start);
        start += oracle::formatDuration(source);
    }
    {
        SCOPED_TRACE("every sample, edit lists ignored");
        expectConcatenation(raw, probePackets(joined, inJoin, true, extraArguments));
    }
    {
        SCOPED_TRACE("what players show, edit lists applied");
        expectShownAtJoinTimes(edited, starts, probePackets(joined, inJoin, false, extraArguments));
    }
}

} // namespace quicktime_test
