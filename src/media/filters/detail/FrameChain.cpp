#include "media/filters/detail/FrameChain.h"

#include "media/filters/detail/FilterStages.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <thread>

namespace media::filters::detail {

using namespace media::detail;

namespace {

std::string sourceArguments(const FrameFormat& format) {
    const AVRational aspect = format.sampleAspect.num > 0 ? format.sampleAspect : AVRational{1, 1};
    return "video_size=" + std::to_string(format.width) + "x" + std::to_string(format.height) +
           ":pix_fmt=" + std::to_string(format.pixelFormat) + ":time_base=" + std::to_string(format.timeBase.num) +
           "/" + std::to_string(format.timeBase.den) + ":pixel_aspect=" + std::to_string(aspect.num) + "/" +
           std::to_string(aspect.den);
}

std::string withLabels(std::string graph, int stageIndex) {
    const std::string label = "s" + std::to_string(stageIndex);
    for (std::size_t at = graph.find("%1"); at != std::string::npos; at = graph.find("%1", at))
        graph.replace(at, 2, label);
    return graph;
}

// Runs work(firstRow, endRow) over the rows in bands, one band per core.
template <typename Work> void inRowBands(int rows, Work work) {
    const int bands = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    if (bands == 1 || rows < 2 * bands) {
        work(0, rows);
        return;
    }
    std::vector<std::thread> helpers;
    for (int band = 1; band < bands; ++band)
        helpers.emplace_back([&, band] { work(rows * band / bands, rows * (band + 1) / bands); });
    work(0, rows / bands);
    for (std::thread& helper : helpers)
        helper.join();
}

} // namespace

std::expected<FrameChain, Error> FrameChain::create(const QStringList& identifiers, const FrameFormat& input,
                                                    AVPixelFormat output) {
    FrameChain chain;
    FrameFormat current = input;
    std::string pending;
    // Ends the graph collected so far with a conversion to `format`.
    auto closeGraph = [&](AVPixelFormat format) -> std::expected<void, Error> {
        if (pending.empty() && current.pixelFormat == format)
            return {};
        const std::string conversion = std::string("format=") + av_get_pix_fmt_name(format);
        FilterChainRequest request;
        request.sourceArguments = sourceArguments(current);
        request.chain = pending.empty() ? conversion : pending + "," + conversion;
        request.scalerOptions = "flags=bicubic+accurate_rnd+full_chroma_int";
        auto graph = makeFilterChain(request, "cannot set up the filters");
        if (!graph)
            return std::unexpected(graph.error());
        chain.m_steps.push_back({std::move(*graph), nullptr});
        pending.clear();
        current.pixelFormat = format;
        return {};
    };
    int index = 0;
    for (const QString& identifier : identifiers) {
        const std::optional<FilterStage> stage = filterStage(identifier);
        if (!stage)
            continue;
        if (stage->kernel) {
            if (auto closed = closeGraph(AV_PIX_FMT_RGB24); !closed)
                return std::unexpected(closed.error());
            chain.m_steps.push_back({{}, stage->kernel});
        } else {
            pending += (pending.empty() ? "" : ",") + withLabels(stage->graph, index);
        }
        ++index;
    }
    if (auto closed = closeGraph(output); !closed)
        return std::unexpected(closed.error());
    return chain;
}

std::expected<FramePtr, Error> FrameChain::apply(FramePtr frame) {
    for (Step& step : m_steps) {
        auto next = step.kernel ? runKernel(step.kernel, *frame) : runGraph(step, std::move(frame));
        if (!next)
            return next;
        frame = std::move(*next);
    }
    return frame;
}

std::expected<FramePtr, Error> FrameChain::runGraph(Step& step, FramePtr frame) {
    const FilterLibrary& filters = **filterLibrary(); // loaded when the graph was made
    if (const int status = filters.av_buffersrc_add_frame_flags(step.graph.source, frame.get(), 0); status < 0)
        return std::unexpected(makeError(status, "cannot filter a frame"));
    FramePtr filtered(av_frame_alloc());
    if (!filtered)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    // Every stage gives one frame for each it takes, at once.
    if (const int status = filters.av_buffersink_get_frame(step.graph.sink, filtered.get()); status < 0)
        return std::unexpected(makeError(status, "cannot filter a frame"));
    return filtered;
}

std::expected<FramePtr, Error> FrameChain::runKernel(Kernel kernel, const AVFrame& frame) {
    FramePtr target(av_frame_alloc());
    if (!target)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    target->format = AV_PIX_FMT_RGB24;
    target->width = frame.width;
    target->height = frame.height;
    if (const int status = av_frame_get_buffer(target.get(), 0); status < 0)
        return std::unexpected(makeError(status, "cannot filter a frame"));
    if (const int status = av_frame_copy_props(target.get(), &frame); status < 0)
        return std::unexpected(makeError(status, "cannot filter a frame"));
    const RgbImage in{frame.data[0], frame.linesize[0], frame.width, frame.height};
    const RgbTarget out{target->data[0], target->linesize[0], target->width, target->height};
    inRowBands(frame.height, [&](int first, int end) { kernel(in, out, first, end); });
    return target;
}

} // namespace media::filters::detail
