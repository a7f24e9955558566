#include "JoinRequest.h"

#include "media/quicktime/SourceSegments.h"

#include <algorithm>
#include <stdexcept>

namespace quicktime_test {

using namespace media::quicktime;

WriteRequest joinRequest(const std::vector<std::filesystem::path>& files, OutputKind kind,
                         DataPlacement placement, std::int32_t movieTimeScale) {
    WriteRequest request;
    request.kind = kind;
    request.placement = placement;
    request.movieTimeScale = movieTimeScale;
    // A file named twice is one source, played twice.
    for (const auto& file : files) {
        auto known = std::find_if(request.sources.begin(), request.sources.end(),
                                  [&](const WriteSource& source) { return source.path == file; });
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
    std::int64_t previous = 0;
    for (std::int64_t end : ends) {
        durations.push_back(end - previous);
        previous = end;
    }
    return durations;
}

} // namespace quicktime_test
