// Arbitrary bytes as a version file: reading never crashes, and what it reads
// is a version with a text.

#include "net/VersionFile.h"
#include "net/VersionNumber.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto version = net::readVersionFile(bytes))
        (void)net::versionNumber(version->text);
    (void)net::versionNumber(QString::fromUtf8(bytes));
    return 0;
}
