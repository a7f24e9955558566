#include "cli/FrameCommand.h"

#include "cli/CommandLine.h"
#include "cli/ToolArguments.h"
#include "tools/SaveFrameJob.h"

#include <ostream>

namespace cli {

int runFrameCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("frame",
                        "Saves the frame a movie shows at a time as a picture at the movie's natural size: "
                        "TIFF (LZW unless --no-lzw), BMP, GIF, JPEG, PNG or JPEG 2000.");
    options.addValue({"at"}, "TIME", "The time (seconds, M:SS, H:MM:SS or D:HH:MM:SS.U/SCALE); 0 by default.");
    options.addValue({"format"}, "FORMAT", "tif, bmp, gif, jpg, png or jp2; by default OUT's extension, else tif.");
    options.addValue({"quality"}, "Q", "JPEG and JPEG 2000 quality from 0 to 1 (1, the best, by default).");
    options.addFlag({"no-lzw"}, "Writes TIFF without compression.");
    options.addValue({"o", "output"}, "OUT", "The picture file to write.");
    options.addFlag({"replace"}, "Writes over OUT if it exists.");
    options.addPositional("FILE", "The movie.", "FILE");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const auto files = movieAndOutput(options, "OUT", err);
    if (!files)
        return files.error();
    const auto& [source, output] = *files;
    media::Time at = media::zeroTime();
    if (options.isSet("at")) {
        auto time = readMovieTime(options.bytes("at"));
        if (!time)
            return options.usageError(time.error(), err);
        at = *time;
    }
    media::FrameImageOptions settings;
    const std::string extension = output.extension().string();
    const std::string formatName = options.isSet("format") ? options.bytes("format")
                                                           : (extension.empty() ? "tif" : extension.substr(1));
    const auto format = media::frameImageFormatForExtension(formatName);
    if (!format)
        return options.usageError("'" + formatName + "' is not tif, bmp, gif, jpg, png or jp2", err);
    settings.format = *format;
    settings.tiffLzw = !options.isSet("no-lzw");
    if (options.isSet("quality")) {
        bool ok = false;
        settings.quality = options.text("quality").toDouble(&ok);
        if (!ok || !(settings.quality >= 0 && settings.quality <= 1))
            return options.usageError("--quality takes a number from 0 to 1", err);
    }
    if (auto usable = checkOutputs(source, {output}, options.isSet("replace")); !usable)
        return toolFailure("frame", usable.error(), err);
    auto movie = media::Movie::open(source);
    if (!movie)
        return toolFailure("frame", "cannot open " + source.string() + ": " + movie.error().message, err);
    tools::SaveFrameJob job({std::move(*movie), at, output, settings});
    if (const auto saved = runToolJob(job, {}, err); !saved)
        return toolFailure("frame", saved.error().message, err);
    out << output.string() << "\n";
    return 0;
}

} // namespace cli
