#pragma once

#include "media/Error.h"

#include <QByteArray>
#include <QByteArrayView>
#include <expected>
#include <filesystem>
#include <vector>

namespace filelist {

// The file list as a text file: UTF-8, one absolute path per line, "\n"
// between two paths and nothing after the last; no header, quoting or
// trimming. Files are read strictly as UTF-8 with any mix of CR LF, LF and
// lone CR as line ends, and every line (blank ones too) is one candidate path.

// The text of a list of paths, and the paths it had to leave out: a path
// that holds a line break would read back as two lines, and one that is not
// UTF-8 would make the whole file unreadable.
struct ListText final {
    QByteArray bytes;
    std::vector<std::filesystem::path> leftOut;
};
ListText fileListText(const std::vector<std::filesystem::path>& paths);

// The lines of a list text, in order; an empty text has none, and a text
// ending in a line end has an empty last line. A UTF-8 byte order mark at the
// start is not part of the first path. The bytes must be valid UTF-8.
std::vector<std::filesystem::path> parseFileListText(QByteArrayView bytes);

// Reads the list file at `file`: its lines as paths, or why it cannot be
// read (errno code; 0 with a message when it is not well-formed UTF-8: no
// overlong forms, surrogates or values past U+10FFFF). Only regular files are
// read, up to 512 MiB.
[[nodiscard]] std::expected<std::vector<std::filesystem::path>, media::Error>
loadFileList(const std::filesystem::path& file);

// Writes the text whole or not at all (a failed write leaves any old file
// at `file` as it was, and says why).
[[nodiscard]] std::expected<void, media::Error> writeFileList(const std::filesystem::path& file,
                                                              const QByteArray& text);

} // namespace filelist
