// Renaming the listed files so that their names carry the list order, and back.

#include "filelist/ListRenaming.h"

#include "filelist/FileList.h"
#include "filelist/SequenceNames.h"
#include "platform/FileReference.h"
#include "platform/RenameInPlace.h"

#include <sys/stat.h>

namespace filelist {

namespace {

bool isFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

// Renames each entry's file to newName(position, name) when it answers one.
RenameOutcome renameEach(FileList& list,
                         const std::function<std::optional<std::string>(int position, const std::string& name)>& newName) {
    RenameOutcome outcome;
    for (int i = 0; i < list.count(); ++i) {
        const MovieEntry& entry = list.movies()[static_cast<std::size_t>(i)];
        if (entry.alias.isEmpty())
            continue;
        const auto path = platform::stringWithAlias(entry.alias);
        if (!path || !isFile(*path) || path->filename().empty())
            continue;
        const auto name = newName(i + 1, path->filename().native());
        if (!name)
            continue;
        RenameOutcome::Rename rename{*path, path->parent_path() / *name,
                                     platform::renameInPlace(*path, *name)};
        (rename.error == 0 ? outcome.renamed : outcome.refused).push_back(std::move(rename));
    }
    list.followMovedFiles(); // the entries find their files under the new names
    return outcome;
}

} // namespace

RenameOutcome renameFilesInSequence(FileList& list) {
    return renameEach(list, [](int position, const std::string& name) { return numberedName(position, name); });
}

RenameOutcome removeFilenamePrefixes(FileList& list) {
    return renameEach(list, [](int, const std::string& name) { return nameWithoutPrefix(name); });
}

} // namespace filelist
