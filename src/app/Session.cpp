#include "app/Session.h"
#include "filelist/ListSaving.h"

#include "app/ListServices.h"
#include "platform/Preferences.h"

namespace app {

Session::Session(platform::Preferences& store, SessionOptions options)
    : m_store(store), m_offeredComponents(std::move(options.offeredComponents)), m_defaults(store),
      m_list(m_defaults, listServices()), m_outputFormat(m_defaults),
      m_outputFolder(store, support::Pref::OutputDirectory),
      m_downloadFolder(store, support::Pref::DestinationDirectory) {}

void Session::restore() {
    // A failed write keeps the changes pending: the next synchronize tries again.
    (void)m_store.synchronize();
    if (m_offeredComponents)
        m_outputFormat.load(*m_offeredComponents);
    else
        m_outputFormat.load();
    if (m_defaults.boolValue(support::Pref::RememberFileList))
        filelist::restoreList(m_list, m_defaults);
    m_list.updateTotalDuration();
}

void Session::save() {
    filelist::saveList(m_list, m_defaults);
    // Quitting, no window is left to tell; a failed write leaves the previous file whole.
    (void)m_store.synchronize();
}

} // namespace app
