#pragma once

#include "app/OutputFormat.h"
#include "app/PreferenceFolder.h"
#include "filelist/FileList.h"
#include "support/UserDefaults.h"

#include <optional>
#include <vector>

namespace platform {
class Preferences;
}

namespace app {

// What a session uses where the application's own defaults are not wanted (tests).
struct SessionOptions final {
    // The export components to offer; none: those this build of FFmpeg can write.
    std::optional<std::vector<media::ExportComponent>> offeredComponents = std::nullopt;
};

// What one run of the application works on: the preferences, the file list,
// the output format and the two folders the preferences keep. It restores
// them at launch and saves them at quit; the window, its commands and the
// tests each use the same objects.
class Session final {
public:
    explicit Session(platform::Preferences& store, SessionOptions options = {});
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    support::UserDefaults& defaults() { return m_defaults; }
    filelist::FileList& fileList() { return m_list; }
    const filelist::FileList& fileList() const { return m_list; }
    OutputFormat& outputFormat() { return m_outputFormat; }
    const OutputFormat& outputFormat() const { return m_outputFormat; }
    PreferenceFolder& outputFolder() { return m_outputFolder; }
    const PreferenceFolder& outputFolder() const { return m_outputFolder; }
    PreferenceFolder& downloadFolder() { return m_downloadFolder; }

    // At launch: the output format is read, and the saved list comes back
    // when "RememberFileList" is on.
    void restore();
    // At quit: saves the list (or forgets it) and writes the preferences out.
    void save();

private:
    platform::Preferences& m_store;
    std::optional<std::vector<media::ExportComponent>> m_offeredComponents;
    support::UserDefaults m_defaults;
    filelist::FileList m_list;
    OutputFormat m_outputFormat;
    PreferenceFolder m_outputFolder;
    PreferenceFolder m_downloadFolder;
};

} // namespace app
