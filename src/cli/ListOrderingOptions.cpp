#include "cli/ListOrderingOptions.h"
#include "filelist/ListEdits.h"

#include "filelist/FileList.h"

#include <utility>

namespace cli {

namespace {

constexpr std::pair<const char*, filelist::SortKey> kSortKeys[] = {
    {"modification", filelist::SortKey::ModificationDate},
    {"creation", filelist::SortKey::CreationDate},
    {"exif", filelist::SortKey::ExifDate},
    {"title", filelist::SortKey::Title},
    {"path", filelist::SortKey::Name}};

} // namespace

void ListOrderingOptions::addTo(CommandLine& options) const {
    options.addValue({"sort-by"}, "KEY",
                     "Sorts the list by modification, creation or exif date (oldest first), title or path "
                     "(text order), as the window's sort buttons do. Entries without that value go last.");
    options.addFlag({"reverse"}, "Reverses the list (after --sort-by).");
}

bool ListOrderingOptions::read(const CommandLine& options, std::ostream& err) {
    m_reverse = options.isSet("reverse");
    if (!options.isSet("sort-by"))
        return true;
    const std::string name = options.bytes("sort-by");
    for (const auto& [known, key] : kSortKeys)
        if (name == known) {
            m_sortKey = key;
            return true;
        }
    options.usageError("--sort-by: '" + name + "' is none of modification, creation, exif, title, path", err);
    return false;
}

void ListOrderingOptions::apply(filelist::FileList& list) const {
    if (m_sortKey)
        filelist::sortBy(list, *m_sortKey);
    if (m_reverse)
        filelist::reverseList(list);
}

} // namespace cli
