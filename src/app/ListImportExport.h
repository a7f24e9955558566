#pragma once

#include "support/Notice.h"

#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>

namespace filelist {
class FileList;
}
namespace support {
class Console;
}

namespace app {

// The list's Import: the paths of a file list (UTF-8 text, one path per line)
// added as one batch, what they left out told once. A file that cannot be
// read, or is not UTF-8 text, is told and changes nothing; answers whether
// the file was read.
[[nodiscard]] bool importFileList(filelist::FileList& list, const std::filesystem::path& file, const support::Tell& tell,
                                  support::Console& console);
// The list's Export: the paths of the entries whose files can be found, in
// list order, written to `file`. Answers whether the file was written; a path
// that cannot stand on a line of its own is left out, and said so.
[[nodiscard]] bool exportFileList(const filelist::FileList& list, const std::filesystem::path& file,
                                  const support::Tell& tell, support::Console& console);
// Tells once what the list's last adds left out, and starts a new count.
void tellLeftOut(filelist::FileList& list, const support::Tell& tell);

} // namespace app
