// joinclip-bench-join-lossless OUTPUT INPUT...
// Joins whole QuickTime/MPEG-4 files losslessly through the sample-table
// writer, with one chapter per input named after it, for bench/join-lossless.
// The output's kind follows its extension (.mov: QuickTime, else MPEG-4).

#include "JoinRequest.h"
#include "media/quicktime/QuickTimeFileWriter.h"
#include "media/quicktime/SourceSegments.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    using namespace media::quicktime;
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT INPUT...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path output = argv[1];
    std::vector<std::filesystem::path> inputs(argv + 2, argv + argc);
    try {
        const OutputKind kind = output.extension() == ".mov" ? OutputKind::QuickTime : OutputKind::Mpeg4;
        WriteRequest request = quicktime_test::joinRequest(inputs, kind);
        const auto durations = quicktime_test::joinedDurations(request);
        for (std::size_t i = 0; i < inputs.size(); ++i)
            request.chapters.push_back(Chapter{inputs[i].stem().string(), durations[i]});
        if (auto written = writeQuickTimeFile(output, request); !written) {
            std::fprintf(stderr, "%s\n", written.error().message.c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
