#include "cli/SoundCommand.h"

#include "cli/CommandLine.h"
#include "cli/ToolArguments.h"
#include "tools/SaveSoundJob.h"

#include <ostream>

namespace cli {

int runSoundCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("sound",
                        "Writes the sound of a movie, its enabled sound tracks mixed as a player plays them, "
                        "to an AIFF file of 16-bit big-endian samples at the sound's own rate and channels; "
                        "--caf and --wav also make a Core Audio Format copy (AAC, 192 kbit/s) and a WAVE "
                        "copy (unsigned 8-bit) beside it.");
    options.addValue({"o", "output"}, "OUT.aiff", "The AIFF file to write.");
    options.addFlag({"caf"}, "Also makes OUT.caf (AAC).");
    options.addFlag({"wav"}, "Also makes OUT.wav (unsigned 8-bit samples).");
    options.addFlag({"replace"}, "Writes over files that exist.");
    options.addPositional("FILE", "The movie whose sound is written.", "FILE");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const auto files = movieAndOutput(options, "OUT.aiff", err);
    if (!files)
        return files.error();
    const auto& [source, output] = *files;
    tools::SaveSoundJob job({source, output, options.isSet("caf"), options.isSet("wav")});
    std::vector<std::filesystem::path> outputs{output};
    if (job.request().coreAudioCopy)
        outputs.push_back(media::soundCopyPath(output, media::SoundCopy::CoreAudioAac));
    if (job.request().waveCopy)
        outputs.push_back(media::soundCopyPath(output, media::SoundCopy::WaveUnsigned8));
    if (auto usable = checkOutputs(source, outputs, options.isSet("replace")); !usable)
        return toolFailure("sound", usable.error(), err);
    if (const auto saved = runToolJob(job, "Saving sound", err); !saved)
        return toolFailure("sound", source.string() + ": " + saved.error().message, err);
    out << output.string() << "\n";
    for (const auto& copy : job.outcome().copies)
        out << copy.string() << "\n";
    // A failed copy is only told: the AIFF file stands.
    for (const QString& message : job.outcome().messages)
        err << message.toStdString() << "\n";
    return 0;
}

} // namespace cli
