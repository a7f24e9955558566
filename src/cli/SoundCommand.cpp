#include "cli/SoundCommand.h"

#include "cli/CommandLine.h"
#include "cli/PercentLine.h"
#include "cli/ToolArguments.h"
#include "media/SoundExtraction.h"

#include <ostream>

namespace cli {

int runSoundCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("sound",
                        "Writes the sound of a movie to an AIFF file of 16-bit big-endian samples at the "
                        "sound's own rate and channels; --caf and --wav also make a Core Audio Format copy "
                        "(AAC, 192 kbit/s) and a WAVE copy (unsigned 8-bit) beside it.");
    options.addValue({"o", "output"}, "OUT.aiff", "The AIFF file to write.");
    options.addFlag({"caf"}, "Also makes OUT.caf (AAC).");
    options.addFlag({"wav"}, "Also makes OUT.wav (unsigned 8-bit samples).");
    options.addFlag({"replace"}, "Writes over files that exist.");
    options.addPositional("FILE", "The movie whose sound is written.", "FILE");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const auto files = options.positionalPaths();
    if (files.size() != 1)
        return options.usageError("one movie file is needed", err);
    const auto output = options.path("output");
    if (!output)
        return options.usageError("-o OUT.aiff is needed", err);
    std::vector<std::filesystem::path> outputs{*output};
    if (options.isSet("caf"))
        outputs.push_back(media::soundCopyPath(*output, media::SoundCopy::CoreAudioAac));
    if (options.isSet("wav"))
        outputs.push_back(media::soundCopyPath(*output, media::SoundCopy::WaveUnsigned8));
    if (auto usable = checkOutputs(files.front(), outputs, options.isSet("replace")); !usable) {
        err << "joinclip sound: " << usable.error() << "\n";
        return 1;
    }
    PercentLine line(err, "Saving sound");
    const auto sound = media::extractSoundToAiff(files.front(), *output, line.callback());
    line.end();
    if (!sound) {
        err << "joinclip sound: " << files.front().string() << ": " << sound.error().message << "\n";
        return 1;
    }
    out << output->string() << "\n";
    // A failed copy is only told: the AIFF file stands.
    const std::string path = output->string();
    if (options.isSet("caf")) {
        if (const auto copy = media::makeSoundCopy(*output, media::SoundCopy::CoreAudioAac))
            out << copy->string() << "\n";
        else
            err << "Could not convert \"" << path << "\" to Core Audio Format.\n";
    }
    if (options.isSet("wav")) {
        if (const auto copy = media::makeSoundCopy(*output, media::SoundCopy::WaveUnsigned8))
            out << copy->string() << "\n";
        else
            err << "Could not convert \"" << path << "\" to Waveform.\n";
    }
    return 0;
}

} // namespace cli
