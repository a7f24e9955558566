#include "media/transcode/TranscodeJoin.h"

#include "media/detail/TemporaryFile.h"
#include "media/transcode/AudioEncoder.h"
#include "media/transcode/JoinPlan.h"
#include "media/transcode/OutputMovie.h"
#include "media/transcode/ProgressReporter.h"
#include "media/transcode/SegmentTranscoder.h"
#include "media/transcode/VideoEncoder.h"

namespace media::transcode {

namespace {

// Everything but the rename: the temporary file is complete when this succeeds.
std::expected<void, Error> writeJoin(const std::filesystem::path& file,
                                     const std::filesystem::path& destination, const Request& request,
                                     const JoinPlan& plan) {
    auto output = OutputMovie::create(file, request.settings.container, destination);
    if (!output)
        return std::unexpected(output.error());

    std::unique_ptr<VideoEncoder> video;
    if (plan.hasVideo) {
        auto opened = VideoEncoder::open(request.settings, plan, **output);
        if (!opened)
            return std::unexpected(opened.error());
        video = std::move(*opened);
        if (auto added = video->addStream(); !added)
            return added;
    }
    std::unique_ptr<AudioEncoder> audio;
    if (plan.hasSound) {
        auto opened = AudioEncoder::open(request.settings, plan.sampleRate, plan.channels, **output);
        if (!opened)
            return std::unexpected(opened.error());
        audio = std::move(*opened);
        if (auto added = audio->addStream(); !added)
            return added;
    }
    if (auto set = (*output)->setChapters(plan.chapters, plan.duration); !set)
        return set;
    if (auto begun = (*output)->begin(); !begun)
        return begun;
    if (video)
        video->followStreamTimeBase();

    ProgressReporter progress(request.progress, plan.duration);
    if (auto told = progress.reach(0); !told)
        return told;
    for (const SegmentPlacement& placement : plan.placements) {
        // A stretch shorter than half a frame that the frame grid took in.
        if (compareTimes(placement.start, placement.end) == 0)
            continue;
        SegmentTranscoder segment(placement, video.get(), audio.get(), progress);
        if (auto done = segment.run(); !done)
            return done;
    }
    if (video)
        if (auto finished = video->finish(ticksAt(plan.duration, video->timeBase())); !finished)
            return finished;
    if (audio)
        if (auto finished = audio->finish(); !finished)
            return finished;
    if (auto finished = (*output)->finish(); !finished)
        return finished;
    return progress.complete();
}

} // namespace

std::expected<void, Error> transcodeJoin(const std::filesystem::path& destination, const Request& request) {
    detail::configureLogging();
    auto plan = makeJoinPlan(request);
    if (!plan)
        return std::unexpected(plan.error());
    auto temporary = detail::TemporaryFile::create(destination);
    if (!temporary)
        return std::unexpected(temporary.error());
    // The temporary file goes away with `temporary` unless committed.
    if (auto written = writeJoin(temporary->path(), destination, request, *plan); !written)
        return written;
    return temporary->commit();
}

} // namespace media::transcode
