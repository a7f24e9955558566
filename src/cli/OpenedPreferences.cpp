#include "cli/OpenedPreferences.h"

#include <ostream>

namespace cli {

OpenedPreferences::OpenedPreferences(std::ostream& err)
    : m_err(err), m_store(platform::Preferences::defaultFile()) {
    if (const auto aside = m_store.setAsideFile())
        m_err << "joinclip: the preferences file was damaged; it was kept as " << aside->string()
              << " and the defaults are used\n";
}

bool OpenedPreferences::write(const char* command) {
    if (m_store.synchronize())
        return true;
    m_err << "joinclip " << command << ": cannot write the preferences to " << m_store.file().string()
          << "\n";
    return false;
}

} // namespace cli
