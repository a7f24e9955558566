// File reference data as stored in preferences and lists: any bytes must be
// either refused or resolved to an absolute path, without crashing. Resolving
// only reads the file system, so a fuzzed block never changes anything on disk.

#include "FuzzWorkFolder.h"
#include "platform/FileReference.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1024 * 1024)
        return 0;
    const auto path =
        platform::stringWithAlias(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    fuzz::check(!path || path->is_absolute(), "fuzz_file_reference", "resolved to a relative path");
    return 0;
}
