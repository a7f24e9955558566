// Arbitrary bytes as export settings: decoding never crashes, and settings it
// accepts encode and decode again to the same settings.

#include "media/ExportSettings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto settings = media::decodeExportSettings(bytes);
    if (!settings)
        return 0;
    const auto again = media::decodeExportSettings(media::encodeExportSettings(*settings));
    if (!again || *again != *settings) {
        std::fprintf(stderr, "fuzz_export_settings: accepted settings do not survive a round trip\n");
        std::abort();
    }
    return 0;
}
