// The program's FFmpeg libraries, loaded the first time one of their
// functions is called. Linked at start-up they take two thirds of the start
// of every run (some 135 libraries, bound at once), although most runs
// (help, version, preferences, lists of QuickTime files) never call them.
// Each FFmpeg function the media library calls is a stub (GenerateStubs.cmake)
// that jumps through joinclip_ffmpeg_functions, filled here.

extern "C" {
#include <libavcodec/version.h>
#include <libavfilter/version.h>
#include <libavformat/version.h>
#include <libavutil/macros.h>
#include <libavutil/version.h>
#include <libswresample/version.h>
#include <libswscale/version.h>
}

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <iterator>
#include <mutex>
#include <unistd.h>
#include <vector>

extern "C" {
extern void* joinclip_ffmpeg_functions[];
extern const char joinclip_ffmpeg_names[];
void joinclip_load_ffmpeg();
}

namespace {

// The libraries of the major versions we were compiled against, each after those it needs.
constexpr const char* kLibraries[] = {
    "libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR),
    "libswresample.so." AV_STRINGIFY(LIBSWRESAMPLE_VERSION_MAJOR),
    "libswscale.so." AV_STRINGIFY(LIBSWSCALE_VERSION_MAJOR),
    "libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR),
    "libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR),
};

// Loaded only for a function none of the above has: libavfilter and the
// libraries it needs cost as much again, and filters load it themselves.
constexpr const char* kFilterLibrary = "libavfilter.so." AV_STRINGIFY(LIBAVFILTER_VERSION_MAJOR);

// As the dynamic loader does when a linked library is missing: nothing can go on.
[[noreturn]] void fail(const char* what, const char* why) {
    std::fprintf(stderr, "joinclip: cannot load %s: %s\n", what, why ? why : "unknown reason");
    _exit(127);
}

void load() {
    std::vector<void*> libraries;
    for (const char* name : kLibraries) {
        void* library = dlopen(name, RTLD_NOW | RTLD_GLOBAL);
        if (!library)
            fail(name, dlerror());
        libraries.push_back(library); // kept for the rest of the process, like a linked library
    }
    std::size_t index = 0;
    for (const char* name = joinclip_ffmpeg_names; *name != '\0'; name += std::strlen(name) + 1, ++index) {
        void* function = nullptr;
        for (void* library : libraries)
            if ((function = dlsym(library, name)) != nullptr)
                break;
        if (!function && libraries.size() == std::size(kLibraries)) {
            void* filters = dlopen(kFilterLibrary, RTLD_NOW | RTLD_GLOBAL);
            if (!filters)
                fail(kFilterLibrary, dlerror());
            libraries.push_back(filters);
            function = dlsym(filters, name);
        }
        if (!function)
            fail(name, "no FFmpeg library has it");
        joinclip_ffmpeg_functions[index] = function;
    }
}

} // namespace

void joinclip_load_ffmpeg() {
    static std::once_flag loaded;
    std::call_once(loaded, load);
}
