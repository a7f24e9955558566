#include "cli/FilterCommand.h"

#include "cli/CommandLine.h"
#include "cli/ToolArguments.h"
#include "media/filters/ImageFilters.h"
#include "tools/FilterRenderJob.h"

#include <ostream>

namespace cli {

int runFilterCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("filter",
                        "Renders a movie through a chain of image filters into a new MPEG-4 movie of the "
                        "same length, with the movie's first sound track.");
    options.addValue({"f", "filter"}, "NAME",
                     "A filter, by identifier or menu name (joinclip filters lists them); repeat it for a "
                     "chain, applied in the order given.",
                     CommandLine::Times::Repeatable);
    options.addValue({"o", "output"}, "OUT.mp4", "The movie to write; it must not exist yet.");
    options.addPositional("FILE", "The movie to filter.", "FILE");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    const std::vector<std::filesystem::path> files = options.positionalPaths();
    if (files.size() != 1)
        return options.usageError(files.empty() ? "no movie given" : "give one movie only", err);
    const std::optional<std::filesystem::path> output = options.path("output");
    if (!output)
        return options.usageError("no output given (-o OUT.mp4)", err);
    if (output->extension() != ".mp4")
        return options.usageError("the output must be an .mp4 file", err);
    QStringList chain;
    for (const QString& name : options.allTexts("filter")) {
        const auto identifier = media::filters::filterIdentifierFor(name);
        if (!identifier)
            return options.usageError(
                "no filter is named \"" + name.toStdString() + "\" (joinclip filters lists them)", err);
        chain.append(*identifier);
    }
    if (chain.isEmpty())
        return options.usageError("no filter given (--filter NAME)", err);
    std::error_code ignored;
    if (std::filesystem::exists(*output, ignored))
        return toolFailure("filter", output->string() + " already exists; choose another name", err);

    tools::FilterRenderJob job({files.front(), *output, chain, false});
    if (const auto rendered = runToolJob(job, "Filtering", err); !rendered)
        return toolFailure("filter", rendered.error().message, err);
    out << output->string() << "\n";
    return 0;
}

int runFiltersCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    CommandLine options("filters",
                        "Lists the filter menu: each row's identifier and name, in the menu's order.");
    if (const auto status = options.parse(arguments, out, err))
        return *status;
    if (!options.positionalBytes().empty())
        return options.usageError("filters takes no arguments", err);
    for (const auto& item : media::filters::filterMenu())
        if (!item.identifier.isEmpty())
            out << item.identifier.toStdString() << "\t" << item.displayName.toStdString() << "\n";
    return 0;
}

} // namespace cli
