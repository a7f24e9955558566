#pragma once

#include "filelist/EntrySort.h"
#include "cli/CommandLine.h"

#include <iosfwd>
#include <optional>

namespace filelist {
class FileList;
}

namespace cli {

// The ordering options that list and rename share: --sort-by
// modification|creation|exif|title|path and --reverse, run as the window's
// buttons run them.
class ListOrderingOptions final {
public:
    void addTo(CommandLine& options) const;
    // Reads them; false after telling a usage error on err.
    bool read(const CommandLine& options, std::ostream& err);
    // Sorts, then reverses, as asked.
    void apply(filelist::FileList& list) const;

private:
    std::optional<filelist::SortKey> m_sortKey;
    bool m_reverse = false;
};

} // namespace cli
