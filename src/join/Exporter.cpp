#include "join/Exporter.h"

namespace join {

std::expected<void, media::Error> Exporter::loadSettings(const QByteArray& bytes) {
    auto decoded = media::decodeExportSettings(bytes);
    if (!decoded)
        return std::unexpected(decoded.error());
    if (auto suits = media::checkExportSettings(m_component, *decoded); !suits)
        return suits;
    m_settings = *decoded;
    return {};
}

} // namespace join
