#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace join {

// The bytes of one of the application's own image files, found by name
// ("Sun.tiff"). They are embedded in the core library under :/images (see
// src/join/CMakeLists.txt), so every program that links it has them. None for
// a name the application does not ship.
[[nodiscard]] std::optional<QByteArray> applicationImageNamed(const QString& name);

} // namespace join
