#pragma once

#include "join/Exporter.h"
#include "media/ExportComponent.h"

#include <QString>
#include <memory>

namespace join {

// What the component menu knows of one export component.
struct ComponentDescription final {
    QString name;
    QString info;      // the menu item's tool tip
    QString extension; // "." and the file name extension, or empty when the component names none
    media::FourCharCode type = media::kExportComponentType;
    media::FourCharCode subtype = 0;
    media::FourCharCode manufacturer = 0;
    // The component's instance, opened when the table is built; none when it could not be opened.
    std::shared_ptr<Exporter> exporter;
};

} // namespace join
