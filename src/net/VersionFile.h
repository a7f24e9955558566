#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace net {

// What a version file says about the latest published JoinClip.
struct PublishedVersion final {
    std::int32_t number = 0; // in the form versionNumber gives (204 for "2.0.4")
    QString text;            // the version as people read it
};

// Reads a version file: a property list whose root dictionary holds one
// dictionary per product, ours under "JoinClip" with the integer
// "CurrentVersion" and the string "CurrentVersionString". None when the bytes
// are not such a property list, the entry or either key is missing or of
// another type, or the number lies outside the 32-bit range. Other products
// and other keys are ignored.
[[nodiscard]] std::optional<PublishedVersion> readVersionFile(const QByteArray& bytes);

} // namespace net
