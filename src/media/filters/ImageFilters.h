#pragma once

// The image filters a movie can be passed through, by identifier (the names
// kept in the preferences and on the command line), and a chain of them
// applied to a single picture.

#include "media/Error.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <expected>
#include <optional>
#include <vector>

namespace media::filters {

struct FilterMenuItem final {
    QString identifier; // empty for the menu's placeholder row
    QString displayName;
};

// The filter menu in its order: the placeholder row "Select Filter" first,
// then every filter; some filters stand in it twice.
const std::vector<FilterMenuItem>& filterMenu();

// Whether the identifier names a filter.
[[nodiscard]] bool isImageFilter(const QString& identifier);

// The identifier of the filter named by its identifier or its display name
// (letter case ignored), or none.
[[nodiscard]] std::optional<QString> filterIdentifierFor(const QString& name);

// The picture passed through the filters in order, each at its default
// settings (a centre is the picture's centre); identifiers that name no
// filter are skipped. The result has the picture's size.
[[nodiscard]] std::expected<QImage, Error> applyImageFilters(const QImage& picture,
                                                             const QStringList& identifiers);

} // namespace media::filters
