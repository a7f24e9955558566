#pragma once

#include <QString>
#include <filesystem>

namespace join {

// Where the per-file export writes `source`: its file name (extension and
// all) with the component's extension appended, in `folder`; clip.avi through
// a component writing .mp4 becomes clip.avi.mp4. When that would be the source
// file itself (a component without an extension exporting into the source's
// own folder, or a link to the source), " (exported)" goes before the
// source's extension, as often as needed, so the file being read is never
// written over.
std::filesystem::path exportDestination(const std::filesystem::path& folder,
                                        const std::filesystem::path& source, const QString& extension);

} // namespace join
