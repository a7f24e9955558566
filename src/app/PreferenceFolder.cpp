#include "app/PreferenceFolder.h"

#include "platform/DesktopServices.h"
#include "platform/FolderPreferences.h"
#include "support/LocalizedString.h"

namespace app {

PreferenceFolder::PreferenceFolder(platform::Preferences& store, support::Pref key) : m_store(store), m_key(key) {}

std::optional<std::filesystem::path> PreferenceFolder::path() const {
    return m_key == support::Pref::OutputDirectory ? platform::CopyOutputFolderPath(m_store)
                                                   : platform::CopyDestinationFolderPath(m_store);
}

QString PreferenceFolder::displayText() const {
    return platform::folderPreferenceDisplayText(path());
}

bool PreferenceFolder::choose(platform::FolderChooser& chooser) {
    const platform::FolderQuestion question{support::LocalizedString("Choose"), support::LocalizedString("Choose"),
                                            support::LocalizedString("Choose destination folder")};
    return platform::ChooseFolderPreference(m_store, chooser, question, support::preferenceName(m_key))
        .has_value();
}

void PreferenceFolder::clear() {
    platform::ClearFolderPreference(m_store, support::preferenceName(m_key));
}

std::optional<support::Notice> PreferenceFolder::open(platform::DesktopServices& desktop) const {
    // One look-up of the kept folder serves both the test and the opening.
    const auto folder = path();
    if (folder && !platform::folderPreferenceDisplayText(folder).isEmpty()) {
        desktop.openFile(*folder);
        return std::nullopt;
    }
    return support::Notice{support::Told::Information,
                  m_key == support::Pref::OutputDirectory ? "An output directory has not been specified."
                                                           : "A URL Download directory has not been specified.",
                  "So it can not be opened. Specify one in Preferences."};
}

} // namespace app
