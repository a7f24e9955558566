// File reference data as stored in preferences and lists: any bytes must be
// either refused or resolved to a path, without crashing. Resolving only reads
// the file system, so a fuzzed block never changes anything on disk.

#include "platform/FileReference.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1024 * 1024)
        return 0;
    const QByteArray block(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto path = platform::stringWithAlias(block);
    if (path && !path->is_absolute()) {
        std::fprintf(stderr, "fuzz_file_reference: resolved to a relative path\n");
        std::abort();
    }
    return 0;
}
