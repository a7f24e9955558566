// Arbitrary bytes as export settings: decoding never crashes, and settings it
// accepts encode and decode again to the same settings.

#include "FuzzWorkFolder.h"
#include "media/ExportSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto settings =
        media::decodeExportSettings(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    if (settings) {
        const auto again = media::decodeExportSettings(media::encodeExportSettings(*settings));
        fuzz::check(again && *again == *settings, "fuzz_export_settings",
                    "accepted settings do not survive a round trip");
    }
    return 0;
}
