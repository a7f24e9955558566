#pragma once

#include "media/Error.h"

#include <expected>
#include <filesystem>
#include <memory>

namespace join {

// Keeps a file's contents restorable while the file is rewritten in place.
// hold() keeps the current contents under a hidden name beside the file
// (a second link to it, or a copy where the file system has no links);
// after the rewrite, moveToTrash() puts them in the desktop's trash under
// the file's own name and place, as if the user had trashed the original,
// so that the file manager can restore it. Dropped without moveToTrash() (the
// rewrite failed or was cancelled, so the file is still the original), the
// hidden name goes.
class OriginalInTrash final {
public:
    [[nodiscard]] static std::expected<OriginalInTrash, media::Error> hold(const std::filesystem::path& file);
    OriginalInTrash(OriginalInTrash&&) noexcept;
    OriginalInTrash& operator=(OriginalInTrash&&) = delete;
    ~OriginalInTrash();

    // Where the original went: in the trash, or, where the desktop has no
    // trash for this file, beside the file as "NAME (original).EXT".
    struct Kept final {
        std::filesystem::path path;
        bool inTrash = false;
    };
    [[nodiscard]] std::expected<Kept, media::Error> moveToTrash();

private:
    OriginalInTrash(std::filesystem::path file, std::filesystem::path held);

    std::filesystem::path m_file;
    std::filesystem::path m_held; // empty once handed on
};

} // namespace join
