// Times resolving the file references of the files in a folder, all in place,
// against one stat of each of the same paths. Each is run ROUNDS times and the
// fastest round is reported, in microseconds.
//   joinclip-bench-resolve FOLDER [ROUNDS]

#include "platform/FileReference.h"
#include "platform/FolderListing.h"

#include <QByteArray>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/stat.h>

// The fastest of `rounds` runs of round, or -1 when a run fails.
static double fastestRoundMicroseconds(int rounds, const std::function<bool()>& round) {
    double fastest = -1;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!round())
            return -1;
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        fastest = fastest < 0 ? took.count() : std::min(fastest, took.count());
    }
    return fastest;
}

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    if (argc < 2 || !platform::CopyFolderFileRefs(argv[1], files) || files.empty()) {
        std::fprintf(stderr, "usage: %s FOLDER [ROUNDS], FOLDER holding files\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::vector<QByteArray> references;
    for (const auto& file : files)
        references.push_back(platform::getAlias(file));
    const double resolve = fastestRoundMicroseconds(rounds, [&] {
        for (std::size_t i = 0; i < files.size(); ++i)
            if (platform::stringWithAlias(references[i]) != files[i])
                return false;
        return true;
    });
    const double stat = fastestRoundMicroseconds(rounds, [&] {
        struct stat status {};
        return std::ranges::all_of(files,
                                   [&](const auto& file) { return ::stat(file.c_str(), &status) == 0; });
    });
    if (resolve < 0 || stat < 0) {
        std::fprintf(stderr, "a file did not resolve in place\n");
        return 1;
    }
    std::printf("files: %zu\nresolve: %.0f us\nstat: %.0f us\n", files.size(), resolve, stat);
    return 0;
}
