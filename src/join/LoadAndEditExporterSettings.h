#pragma once

#include "join/ComponentDescription.h"
#include "join/ExportSettingsDialog.h"
#include "support/Console.h"

#include <QByteArray>
#include <optional>

namespace join {

// The settings bytes of the component's instance: first loaded from
// `settings` when given (bytes it refuses are reported on `console` and not
// loaded), then, with `showDialog`, edited in `dialog`. None when the
// description has no instance, the user cancelled, or the dialog failed
// (reported on `console`); the instance then keeps what it had.
[[nodiscard]] std::optional<QByteArray> loadAndEditExporterSettings(const ComponentDescription& description,
                                                      const std::optional<QByteArray>& settings,
                                                      bool showDialog, ExportSettingsDialog* dialog,
                                                      support::Console& console);

// Whether the component instance has a settings dialog: only export
// components ('spit') can have one here.
bool ComponentHasUserInterface(media::FourCharCode type, const Exporter* instance);

} // namespace join
