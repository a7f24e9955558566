#pragma once

#include <filesystem>
#include <vector>

namespace filelist {

class FileList;

// What a batch rename did, file by file, in list order.
struct RenameOutcome final {
    struct Rename final {
        std::filesystem::path from;
        std::filesystem::path to;
        int error = 0; // the errno of a refusal; 0 when renamed
    };
    std::vector<Rename> renamed;
    // Files that kept their old name because the rename was refused.
    std::vector<Rename> refused;
};

// Batch renames, in list order, each file in its own folder; entries whose
// file cannot be found are passed over. The entries keep their reference
// data, which finds the renamed files. A rename is never allowed to replace
// another file: it is refused, and the file keeps its old name.
// Puts "000001 " (the 1-based list position) in front of every name.
[[nodiscard]] RenameOutcome renameFilesInSequence(FileList& list);
// Removes the number prefix (leading digits and the blank after them) from
// every name that starts with one.
[[nodiscard]] RenameOutcome removeFilenamePrefixes(FileList& list);

} // namespace filelist
