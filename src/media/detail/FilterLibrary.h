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

// The libavfilter functions we use, under their own names.
struct FilterLibrary final {
    decltype(&::avfilter_graph_alloc) avfilter_graph_alloc;
    decltype(&::avfilter_graph_free) avfilter_graph_free;
    decltype(&::avfilter_get_by_name) avfilter_get_by_name;
    decltype(&::avfilter_graph_create_filter) avfilter_graph_create_filter;
    decltype(&::avfilter_graph_parse_ptr) avfilter_graph_parse_ptr;
    decltype(&::avfilter_graph_config) avfilter_graph_config;
    decltype(&::avfilter_inout_alloc) avfilter_inout_alloc;
    decltype(&::avfilter_inout_free) avfilter_inout_free;
    decltype(&::av_buffersrc_add_frame) av_buffersrc_add_frame;
    decltype(&::av_buffersrc_add_frame_flags) av_buffersrc_add_frame_flags;
    decltype(&::av_buffersink_get_frame) av_buffersink_get_frame;
    decltype(&::av_buffersink_get_frame_flags) av_buffersink_get_frame_flags;
    decltype(&::av_buffersink_get_samples) av_buffersink_get_samples;
    decltype(&::av_buffersink_set_frame_size) av_buffersink_set_frame_size;
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
