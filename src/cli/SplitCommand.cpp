#include "cli/SplitCommand.h"

#include "cli/CommandLine.h"
#include "cli/ToolArguments.h"
#include "tools/SplitMovieJob.h"
#include "tools/SplitPieceNames.h"

#include <algorithm>
#include <ostream>

namespace cli {

int runSplitCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options(
        "split", "Cuts a movie at the times given into self-contained movies, each holding exactly its "
                 "span with every frame once and the sound in sync. Groups of pictures are copied; only "
                 "the pictures from a cut to the next key frame are encoded again. Without -o the "
                 "pieces go beside FILE as \"NAME [START].mov\".");
    options.addValue({"at"}, "TIME",
                     "A time to cut at (seconds, M:SS, H:MM:SS or D:HH:MM:SS.U/SCALE); repeatable.",
                     CommandLine::Times::Repeatable);
    options.addValue({"o", "output"}, "PIECE",
                     "The file of the next piece (one more than the cuts); repeatable.",
                     CommandLine::Times::Repeatable);
    options.addFlag({"replace"}, "Writes over pieces that exist.");
    options.addPositional("FILE", "The movie to cut.", "FILE");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const auto files = options.positionalPaths();
    if (files.size() != 1)
        return options.usageError("one movie file is needed", err);
    const std::vector<std::string> times = options.allBytes("at");
    if (times.empty())
        return options.usageError("--at is needed", err);
    std::vector<media::Time> cuts;
    for (const std::string& text : times) {
        auto time = readMovieTime(text);
        if (!time)
            return options.usageError(time.error(), err);
        cuts.push_back(*time);
    }
    std::sort(cuts.begin(), cuts.end(),
              [](const auto& a, const auto& b) { return media::compareTimes(a, b) < 0; });
    std::vector<std::filesystem::path> pieces;
    for (const std::string& name : options.allBytes("output"))
        pieces.emplace_back(name);
    if (pieces.empty())
        pieces = tools::splitPiecePaths(files.front(), cuts);
    else if (pieces.size() != cuts.size() + 1)
        return options.usageError("give one -o more than --at", err);
    if (auto usable = checkOutputs(files.front(), pieces, options.isSet("replace")); !usable)
        return toolFailure("split", usable.error(), err);
    tools::SplitMovieJob job({files.front(), std::move(cuts), pieces});
    if (const auto split = runToolJob(job, "Splitting", err); !split)
        return toolFailure("split", files.front().string() + ": " + split.error().message, err);
    for (const auto& piece : pieces)
        out << piece.string() << "\n";
    return 0;
}

} // namespace cli
