#pragma once

#include <QByteArray>
#include <filesystem>

namespace platform {

// Writes `bytes` to `path` whole or not at all: into a new file beside it,
// every byte checked as written and flushed to the disk, then renamed over
// `path`. False, with `path` as it was and the new file removed, when any
// step fails (a full disk, a file-size limit, a folder that cannot be
// written). QSaveFile is not used: on a failed write-back it can still
// commit, replacing a good file with an empty one.
// Answers 0, or the errno of the step that failed.
[[nodiscard]] int writeWholeFile(const std::filesystem::path& path, const QByteArray& bytes);

} // namespace platform
