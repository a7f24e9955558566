// joinclip: `--version` and `info` run here (see cli/QuickCommands.h); for
// anything else (the other commands, and the window when started with no
// command, files given added to its list) the program loads its module,
// installed beside it, and runs that.

#include "cli/QuickCommands.h"

#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace {

// The folder of the running program, from the kernel (not argv[0]).
std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string program(path, static_cast<std::size_t>(length));
    const auto slash = program.rfind('/');
    return slash == std::string::npos ? "." : program.substr(0, slash);
}

int runModule(int argc, char** argv) {
    const std::string folder = programFolder();
    // Installed: in the program's own folder of the library folder; built: beside the program.
    const std::string candidates[] = {folder + "/" JOINCLIP_MODULE_FOLDER "/" JOINCLIP_MODULE_NAME,
                                      folder + "/" JOINCLIP_MODULE_NAME};
    std::string reasons;
    for (const std::string& candidate : candidates) {
        void* module = ::dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            const char* why = ::dlerror();
            reasons += std::string("\n  ") + (why ? why : candidate);
            continue;
        }
        using Main = int (*)(int, char**);
        auto run = reinterpret_cast<Main>(::dlsym(module, "joinclip_program_main"));
        if (!run) {
            reasons += "\n  " + candidate + ": not JoinClip's module";
            continue;
        }
        return run(argc, argv);
    }
    // As the dynamic loader does when a linked library is missing: nothing can go on.
    std::fprintf(stderr, "joinclip: cannot load the program's module:%s\n", reasons.c_str());
    return 127;
}

} // namespace

int main(int argc, char** argv) {
    if (const auto status = cli::runQuickCommand(argc, argv))
        return *status;
    return runModule(argc, argv);
}
