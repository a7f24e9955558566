// Times resolving the file references of the files in a folder, all in place,
// against one stat of each of the same paths. Each is run ROUNDS times and the
// fastest round is reported, in microseconds.
//   joinclip-bench-resolve FOLDER [ROUNDS]

#include "platform/FileReference.h"
#include "platform/FolderListing.h"

#include <QByteArray>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <vector>

namespace {

double fastestRoundMicroseconds(int rounds, const std::function<bool()>& round) {
    double fastest = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!round())
            return -1;
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        if (i == 0 || took.count() < fastest)
            fastest = took.count();
    }
    return fastest;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    std::vector<std::filesystem::path> files;
    if (!platform::CopyFolderFileRefs(argv[1], files) || files.empty()) {
        std::fprintf(stderr, "no files in %s\n", argv[1]);
        return 1;
    }
    std::vector<QByteArray> references;
    for (const auto& file : files)
        references.push_back(platform::getAlias(file));

    const double resolve = fastestRoundMicroseconds(rounds, [&] {
        for (std::size_t i = 0; i < files.size(); ++i) {
            const auto resolved = platform::stringWithAlias(references[i]);
            if (!resolved || resolved->native() != files[i].native())
                return false;
        }
        return true;
    });
    const double stat = fastestRoundMicroseconds(rounds, [&] {
        for (const auto& file : files) {
            struct stat status {};
            if (::stat(file.c_str(), &status) != 0)
                return false;
        }
        return true;
    });
    if (resolve < 0 || stat < 0) {
        std::fprintf(stderr, "a file did not resolve in place\n");
        return 1;
    }
    std::printf("files: %zu\nresolve: %.0f us\nstat: %.0f us\n", files.size(), resolve, stat);
    return 0;
}
