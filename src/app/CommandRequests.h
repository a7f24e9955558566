#pragma once

#include "join/ExportJob.h"
#include "join/JoinJob.h"

#include <QString>
#include <expected>
#include <filesystem>
#include <optional>

namespace filelist {
class FileList;
}
namespace support {
class UserDefaults;
}

namespace app {

class OutputFormat;

// Why a command cannot start, in the words of the alert that says so.
struct Refusal final {
    QString message;
    QString informative;
    bool nothingToDo = false; // no entry is left to work on
};

// The Join command's request, the same from the window and the command line:
// the list's entries whose files are still there, each read where its file is
// now and with its title, joined into `destination` as the preferences
// ("Flatten", "Chapterize", "DesiredDuration") and the output format say.
// Refused when no entry is left, or when one of them is the destination.
[[nodiscard]] std::expected<join::JoinRequest, Refusal> makeJoinRequest(filelist::FileList& list,
                                                                        const OutputFormat& format,
                                                                        const support::UserDefaults& defaults,
                                                                        const std::filesystem::path& destination);

// The Export command's request: every entry whose file is still there,
// through the selected component (which the caller has checked) into folder.
[[nodiscard]] join::ExportRequest makeExportRequest(filelist::FileList& list, const OutputFormat& format,
                                                    const support::UserDefaults& defaults,
                                                    const std::filesystem::path& folder);

// The title line of a write's progress: "Saving movie ", and when exporting
// "as <component>" or "<file name>, as <component>".
[[nodiscard]] QString writeTitle(const OutputFormat& format, const std::filesystem::path* fileName = nullptr);

// The status line at the end of an export: how many files it wrote and
// where, also when it was cancelled; none when nothing was written.
[[nodiscard]] std::optional<QString> exportSummary(const join::ExportJob& job);

// Said when the list holds no movie to work on.
[[nodiscard]] Refusal noMoviesRefusal();
// Said when exporting has no component to go through.
[[nodiscard]] Refusal noComponentRefusal();

} // namespace app
