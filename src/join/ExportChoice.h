#pragma once

#include "join/ComponentDescription.h"
#include "media/Error.h"

#include <QByteArray>
#include <QString>
#include <expected>
#include <filesystem>
#include <optional>

namespace join {

// A component chosen by its menu title, with its settings from a settings file.
struct ExportChoice final {
    std::optional<ComponentDescription> component;
    std::optional<QByteArray> settings; // none: the component's defaults
};

// The component titled `title` among those of this build, and its settings
// from `settingsFile` when one is given (none when the file holds none for
// it). An unknown title or a file that is not a settings file is an error.
std::expected<ExportChoice, media::Error>
chooseExport(const QString& title, const std::optional<std::filesystem::path>& settingsFile);

} // namespace join
