#pragma once

#include "join/ReservedName.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace join {

// Where the per-file export writes `source`: its file name (extension and
// all) with the component's extension appended, in `folder`; clip.avi through
// a component writing .mp4 becomes clip.avi.mp4. When that name is taken (by
// the source itself, another source of the same run, an earlier export, or
// anything else), " (exported)" goes before the source's extension, as often
// as needed: an export never replaces a file.
std::filesystem::path exportDestination(const std::filesystem::path& folder,
                                        const std::filesystem::path& source, const QString& extension);

// The same name made ours (see ReservedName) so that it stays free until
// the export is written there; none when no name could be created.
std::optional<ReservedName> reserveExportDestination(const std::filesystem::path& folder,
                                                     const std::filesystem::path& source,
                                                     const QString& extension);

} // namespace join
