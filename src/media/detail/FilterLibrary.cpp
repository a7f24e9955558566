#include "media/detail/FilterLibrary.h"

#include "media/detail/FFmpeg.h"

#include <cerrno>
#include <dlfcn.h>
#include <string>

namespace media::detail {

namespace {

// The library of the major version we were compiled against.
constexpr const char* kLibraryName = "libavfilter.so." AV_STRINGIFY(LIBAVFILTER_VERSION_MAJOR);

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::expected<FilterLibrary, Error> load() {
    void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::unexpected(Error{ENOENT, std::string("cannot load ") + kLibraryName + ": " + dlerror()});
    // Kept loaded for the rest of the process, like a linked library.
    FilterLibrary functions{};
    bool complete = true;
#define JOINCLIP_RESOLVE_FILTER_FUNCTION(name) complete = complete && resolve(library, #name, functions.name);
    JOINCLIP_FILTER_FUNCTIONS(JOINCLIP_RESOLVE_FILTER_FUNCTION)
#undef JOINCLIP_RESOLVE_FILTER_FUNCTION
    if (!complete)
        return std::unexpected(Error{ENOSYS, std::string(kLibraryName) + " lacks a function: " + dlerror()});
    return functions;
}

} // namespace

std::expected<const FilterLibrary*, Error> filterLibrary() {
    static const std::expected<FilterLibrary, Error> loaded = load();
    if (!loaded)
        return std::unexpected(loaded.error());
    return &*loaded;
}

namespace {

struct FilterInOutDeleter final {
    void operator()(AVFilterInOut* list) const { (*filterLibrary())->avfilter_inout_free(&list); }
};
using FilterInOutPtr = std::unique_ptr<AVFilterInOut, FilterInOutDeleter>;

} // namespace

std::expected<FilterChain, Error> makeFilterChain(const FilterChainRequest& request,
                                                  const std::string& what) {
    const auto library = filterLibrary();
    if (!library)
        return std::unexpected(library.error());
    const FilterLibrary& filters = **library;
    FilterChain made;
    made.graph.reset(filters.avfilter_graph_alloc());
    if (!made.graph)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    AVFilterGraph* graph = made.graph.get();
    if (request.scalerOptions)
        graph->scale_sws_opts = av_strdup(request.scalerOptions);

    int status =
        filters.avfilter_graph_create_filter(&made.source, filters.avfilter_get_by_name(request.sourceFilter),
                                             "in", request.sourceArguments.c_str(), nullptr, graph);
    if (status >= 0)
        status = filters.avfilter_graph_create_filter(
            &made.sink, filters.avfilter_get_by_name(request.sinkFilter), "out", nullptr, nullptr, graph);
    if (status < 0)
        return std::unexpected(makeError(status, what));

    FilterInOutPtr outputs(filters.avfilter_inout_alloc());
    FilterInOutPtr inputs(filters.avfilter_inout_alloc());
    if (!outputs || !inputs)
        return std::unexpected(Error{ENOMEM, "out of memory"});
    outputs->name = av_strdup("in");
    outputs->filter_ctx = made.source;
    inputs->name = av_strdup("out");
    inputs->filter_ctx = made.sink;
    // Parsing takes the lists and gives back what it left unconnected.
    AVFilterInOut* openOutputs = outputs.release();
    AVFilterInOut* openInputs = inputs.release();
    status =
        filters.avfilter_graph_parse_ptr(graph, request.chain.c_str(), &openInputs, &openOutputs, nullptr);
    outputs.reset(openOutputs);
    inputs.reset(openInputs);
    if (status >= 0)
        status = filters.avfilter_graph_config(graph, nullptr);
    if (status < 0)
        return std::unexpected(makeError(status, what));
    return made;
}

void FilterGraphDeleter::operator()(AVFilterGraph* graph) const {
    (*filterLibrary())->avfilter_graph_free(&graph);
}

} // namespace media::detail
