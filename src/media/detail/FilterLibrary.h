#pragma once

// Private to src/media: libavfilter, loaded the first time a filter graph is
// built. Linked at start-up, it and the thirty-odd libraries it needs (speech
// synthesis, 3-D audio, image processing) take a third of every start of the
// program, although most runs (reading information, listing, lossless joins)
// never filter anything. Call its functions through filterLibrary().

#include <cstdint>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/macros.h>
}

#include "media/Error.h"

#include <expected>
#include <memory>
#include <string>

namespace media::detail {

// The libavfilter functions we use, each named once: the table below and its
// loading both come from this list.
#define JOINCLIP_FILTER_FUNCTIONS(F)                                                                  \
    F(avfilter_graph_alloc) F(avfilter_graph_free) F(avfilter_get_by_name)                            \
    F(avfilter_graph_create_filter) F(avfilter_graph_parse_ptr) F(avfilter_graph_config)              \
    F(avfilter_inout_alloc) F(avfilter_inout_free)                                                    \
    F(av_buffersrc_add_frame) F(av_buffersrc_add_frame_flags)                                         \
    F(av_buffersink_get_frame) F(av_buffersink_get_frame_flags) F(av_buffersink_get_samples)          \
    F(av_buffersink_set_frame_size)

// The libavfilter functions we use, under their own names.
struct FilterLibrary final {
#define JOINCLIP_FILTER_FUNCTION_POINTER(name) decltype(&::name) name;
    JOINCLIP_FILTER_FUNCTIONS(JOINCLIP_FILTER_FUNCTION_POINTER)
#undef JOINCLIP_FILTER_FUNCTION_POINTER
};

// Loads libavfilter once per process (thread-safe); an error naming the
// library when it cannot be loaded or lacks a function.
[[nodiscard]] std::expected<const FilterLibrary*, Error> filterLibrary();

// Frees a graph made through filterLibrary() (which is loaded when one exists).
struct FilterGraphDeleter final {
    void operator()(AVFilterGraph* graph) const;
};
using FilterGraphPtr = std::unique_ptr<AVFilterGraph, FilterGraphDeleter>;

// A configured graph that takes frames at `source` and gives them at `sink`.
struct FilterChain final {
    FilterGraphPtr graph;
    AVFilterContext* source = nullptr; // owned by graph
    AVFilterContext* sink = nullptr;   // owned by graph
};

struct FilterChainRequest final {
    const char* sourceFilter = "buffer";   // or "abuffer"
    std::string sourceArguments;           // the frames' format, as the source filter takes it
    const char* sinkFilter = "buffersink"; // or "abuffersink"
    std::string chain;                     // the filters between them, in FFmpeg's graph syntax
    const char* scalerOptions = nullptr;   // options of the scalers the graph inserts, if any
};

// Builds and configures the chain; `what` says what it is for in errors.
[[nodiscard]] std::expected<FilterChain, Error> makeFilterChain(const FilterChainRequest& request,
                                                                const std::string& what);

} // namespace media::detail
