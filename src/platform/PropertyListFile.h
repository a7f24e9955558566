#pragma once

// Property-list files other than the preferences (settings files): a
// dictionary at the root, read in any property-list form and written as XML.
// Values take the forms described in PropertyList.h.

#include <QByteArray>
#include <QVariantMap>
#include <filesystem>
#include <optional>

namespace platform {

// The root dictionary of an XML or binary property list file; none when the
// file cannot be read, is not a property list, is larger than any real one,
// or has another root.
[[nodiscard]] std::optional<QVariantMap> readPropertyListFile(const std::filesystem::path& file);
// The same for property-list bytes received from elsewhere (a version file
// from the network): none when they are not a property list with a dictionary at its root.
[[nodiscard]] std::optional<QVariantMap> readPropertyListBytes(const QByteArray& bytes);

// Writes the dictionary as an XML property list, whole and atomically: a
// temporary file beside `file` renamed into place, so a failure leaves the
// old file as it was. False when a value has no property-list form or the
// write failed.
[[nodiscard]] bool writePropertyListFile(const std::filesystem::path& file, const QVariantMap& dictionary);

} // namespace platform
