#pragma once

#include <QString>
#include <filesystem>
#include <iosfwd>
#include <optional>

namespace app {
class OutputFormat;
}
namespace support {
class UserDefaults;
}

namespace cli {

// Chooses the export component titled `title` for this command; false, said
// on err, when there is none.
[[nodiscard]] bool chooseComponent(app::OutputFormat& format, const QString& title, const char* command,
                                   std::ostream& err);

// Exporting through the component titled `title` for this run, with the
// settings of `settingsFile` when one is given (they replace the stored
// ones, as loading a settings file does); false, said on err, when there is
// no such component or the file is not a settings file. The stored
// preferences are not written.
[[nodiscard]] bool exportThrough(app::OutputFormat& format, support::UserDefaults& defaults, const QString& title,
                                 const std::optional<std::filesystem::path>& settingsFile, const char* command,
                                 std::ostream& err);

} // namespace cli
