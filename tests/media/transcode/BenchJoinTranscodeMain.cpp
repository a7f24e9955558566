// joinclip-bench-join-transcode [--size WxH] [--crf N] [--preset NAME] [--audio-bitrate BPS] OUTPUT INPUT...
// Joins the inputs with a transcoded join, for bench/join-transcode. Without
// --size the output takes the largest width and height among the inputs.

#include "MovieSegment.h"
#include "media/transcode/TranscodeJoin.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: joinclip-bench-join-transcode [--size WxH] [--crf N] [--preset NAME] "
                         "[--audio-bitrate BPS] OUTPUT INPUT...\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    media::transcode::Request request;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--size" && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &request.width, &request.height) != 2)
                return usage();
        } else if (argument == "--crf" && hasValue) {
            request.settings.crf = std::stoi(argv[++i]);
        } else if (argument == "--preset" && hasValue) {
            request.settings.preset = argv[++i];
        } else if (argument == "--audio-bitrate" && hasValue) {
            request.settings.audioBitRate = std::stoi(argv[++i]);
        } else if (argument.starts_with("--")) {
            return usage();
        } else {
            files.push_back(argument);
        }
    }
    if (files.size() < 2)
        return usage();
    try {
        for (std::size_t i = 1; i < files.size(); ++i)
            request.segments.push_back(transcode_test::movieSegment(files[i]));
        if (request.width == 0) {
            for (const std::string& file : std::vector<std::string>(files.begin() + 1, files.end())) {
                auto movie = media::Movie::open(file);
                if (movie) {
                    request.width = std::max(request.width, static_cast<int>((*movie)->naturalSize().width));
                    request.height =
                        std::max(request.height, static_cast<int>((*movie)->naturalSize().height));
                }
            }
        }
    } catch (const std::exception& problem) {
        std::fprintf(stderr, "%s\n", problem.what());
        return 1;
    }
    if (auto joined = media::transcode::transcodeJoin(files[0], request); !joined) {
        std::fprintf(stderr, "%s\n", joined.error().message.c_str());
        return 1;
    }
    return 0;
}
