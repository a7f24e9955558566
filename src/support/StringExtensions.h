#pragma once

#include <QString>

namespace support {

// A copy of text with every "/" and then every ":" replaced by "-", and every
// kind of space (the narrow no-break space of a locale's time, a tab) by a
// plain one, so that a date text can stand in a file name. Nothing else changes.
QString cleanForFilename(const QString& text);

// Compares two time texts (media::parseTime forms) by the instants they
// denote: -1, 0 or 1. The same instant in different scales compares equal.
// A text that does not read as a time orders before every one that does, and
// two such texts compare by their characters, so sorting with this
// comparison stays a strict weak ordering whatever the list holds.
int compareAsTime(const QString& a, const QString& b);

} // namespace support
