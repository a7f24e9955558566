#include "cli/CommandList.h"

#include "app/ListServices.h"
#include "join/OutputNaming.h"

namespace cli {

CommandList::CommandList(std::ostream& err, bool verbose)
    : m_console(err, verbose), m_preferences(err), m_defaults(m_preferences.store()),
      m_list(m_defaults, app::listServices({.makeDefaultFilename = [this](const std::filesystem::path& item,
                                                                         bool isFolder) { noteAdded(item, isFolder); },
                                            .createMovieFromSoundFile = {},
                                            .previewImage = {}})) {
    QObject::connect(&m_list, &filelist::FileList::statusChanged, &m_list,
                     [this](const QString& text) { m_console.status(text); });
}

void CommandList::noteAdded(const std::filesystem::path& item, bool isFolder) {
    m_defaultBaseName = join::makeDefaultFilename(item, isFolder, m_list.count());
}

} // namespace cli
