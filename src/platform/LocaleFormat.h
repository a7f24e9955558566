#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// Dates and numbers as the user's locale writes them, through ICU (the
// formatters the Mac's date and number formatters are built on). The locale
// and time zone are ICU's defaults (LANG / LC_* and TZ or /etc/localtime)
// unless a test chose others. The formatters are made once and kept: making
// them costs far more than using them, and the file list formats two dates
// for every file it adds. Main thread only: the kept formatters have no lock.

// The short date style and the medium time style of the locale, in its time
// zone: "7/14/09, 6:03:22 PM" in en_US, "14.07.09, 18:03:22" in de_DE.
// The time shows whole seconds; the nanoseconds only matter where they carry
// past a second boundary (they never do: they are truncated).
QString formatDateTime(std::int64_t secondsSinceUnixEpoch, std::uint32_t nanoseconds = 0);

// A clock reading without a time zone (a camera's EXIF date), given as
// seconds since 1970-01-01 00:00 on that clock, in the same styles as
// formatDateTime and shown as read: no time zone shifts it.
QString formatWallClockDateTime(std::int64_t secondsSinceEpoch);

// The number with `fractionDigits` digits after the locale's decimal
// separator (rounded), its digits grouped as the locale groups them:
// 18.9 in en_US, 18,9 in de_DE.
QString formatDecimal(double number, int fractionDigits);

// The number in the locale's digits and minus sign, without fraction, grouped
// in threes with "," in every locale: 1234567 is "1,234,567", and 1234 is
// "1,234" even where the locale would leave four digits ungrouped. One
// separator everywhere is by design: the file list's columns line up the same
// in every language.
QString formatNumberWithGrouping(std::int64_t number);

// Uses icuLocale (e.g. "de_DE") and timeZoneId (e.g. "Europe/Berlin") instead
// of the defaults; nullptr for either keeps ICU's default for it. Drops the
// kept formatters.
void setLocaleForTesting(const char* icuLocale, const char* timeZoneId);

} // namespace platform
