#include "cli/CommandList.h"

#include "app/ListServices.h"

namespace cli {

CommandList::CommandList(std::ostream& err, bool verbose)
    : m_console(err, verbose), m_preferences(err), m_defaults(m_preferences.store()),
      m_list(m_defaults, app::listServices()) {
    QObject::connect(&m_list, &filelist::FileList::statusChanged, &m_list,
                     [this](const QString& text) { m_console.status(text); });
}

} // namespace cli
