#pragma once

#include "media/Error.h"
#include "media/ExportComponent.h"

#include <QByteArray>
#include <expected>

namespace join {

// An open export component: it keeps the settings that are edited in its
// dialog, loaded from bytes and read back as bytes. One per component, open
// for the whole run.
class Exporter final {
public:
    explicit Exporter(media::ExportComponent component) : m_component(std::move(component)) {}

    const media::ExportComponent& component() const { return m_component; }
    const media::ExportSettings& settings() const { return m_settings; }
    void setSettings(const media::ExportSettings& settings) { m_settings = settings; }

    // Loads settings bytes; refused bytes (not ours, damaged, of a newer
    // version, or naming an encoder the component lacks) change nothing.
    [[nodiscard]] std::expected<void, media::Error> loadSettings(const QByteArray& bytes);
    QByteArray settingsBytes() const { return media::encodeExportSettings(m_settings); }

private:
    media::ExportComponent m_component;
    media::ExportSettings m_settings; // all defaults until loaded or edited
};

} // namespace join
