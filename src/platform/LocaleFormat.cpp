#include "platform/LocaleFormat.h"

#include <memory>
#include <string>
#include <unicode/datefmt.h>
#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace platform {
namespace {

// The locale and time zone chosen for tests; empty means ICU's default.
struct Choice final {
    std::string locale;
    std::string timeZone;
};

Choice& choice() {
    static Choice chosen;
    return chosen;
}

icu::Locale formatLocale() {
    return choice().locale.empty() ? icu::Locale::getDefault() : icu::Locale(choice().locale.c_str());
}

std::unique_ptr<icu::TimeZone> formatTimeZone() {
    if (choice().timeZone.empty()) {
        return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createDefault());
    }
    return std::unique_ptr<icu::TimeZone>(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(choice().timeZone)));
}

// The date format in the user's time zone, or in UTC for clock readings
// that carry no zone.
std::unique_ptr<icu::DateFormat> makeDateFormat(bool inUtc) {
    std::unique_ptr<icu::DateFormat> format(icu::DateFormat::createDateTimeInstance(
        icu::DateFormat::kShort, icu::DateFormat::kMedium, formatLocale()));
    if (!format) {
        return nullptr;
    }
    if (std::unique_ptr<icu::TimeZone> zone =
            inUtc ? std::unique_ptr<icu::TimeZone>(icu::TimeZone::getGMT()->clone()) : formatTimeZone()) {
        format->adoptTimeZone(zone.release());
    }
    format->setLenient(false);
    return format;
}

std::unique_ptr<icu::NumberFormat> makeNumberFormat() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> format(icu::NumberFormat::createInstance(formatLocale(), status));
    if (U_FAILURE(status) || !format) {
        return nullptr;
    }
    format->setMaximumFractionDigits(0);
    format->setGroupingUsed(true);
    if (auto* decimal = dynamic_cast<icu::DecimalFormat*>(format.get())) {
        decimal->setGroupingSize(3);
        decimal->setSecondaryGroupingSize(3);
        decimal->setMinimumGroupingDigits(1);
        icu::DecimalFormatSymbols symbols(*decimal->getDecimalFormatSymbols());
        symbols.setSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol, icu::UnicodeString(u','));
        decimal->setDecimalFormatSymbols(symbols);
    }
    return format;
}

// The formatters, made on first use and kept until the locale changes.
struct Formatters final {
    std::unique_ptr<icu::DateFormat> date;
    std::unique_ptr<icu::DateFormat> wallClock;
    std::unique_ptr<icu::NumberFormat> number;
    std::unique_ptr<icu::NumberFormat> decimal;
    bool dateTried = false;
    bool wallClockTried = false;
    bool numberTried = false;
    bool decimalTried = false;
};

Formatters& formatters() {
    static Formatters kept;
    return kept;
}

icu::DateFormat* dateFormat(bool inUtc = false) {
    Formatters& kept = formatters();
    bool& tried = inUtc ? kept.wallClockTried : kept.dateTried;
    std::unique_ptr<icu::DateFormat>& format = inUtc ? kept.wallClock : kept.date;
    if (!tried) {
        format = makeDateFormat(inUtc);
        tried = true;
    }
    return format.get();
}

icu::NumberFormat* decimalFormat() {
    Formatters& kept = formatters();
    if (!kept.decimalTried) {
        UErrorCode status = U_ZERO_ERROR;
        kept.decimal.reset(icu::NumberFormat::createInstance(formatLocale(), status));
        if (U_FAILURE(status))
            kept.decimal.reset();
        kept.decimalTried = true;
    }
    return kept.decimal.get();
}

icu::NumberFormat* numberFormat() {
    Formatters& kept = formatters();
    if (!kept.numberTried) {
        kept.number = makeNumberFormat();
        kept.numberTried = true;
    }
    return kept.number.get();
}

QString toQString(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

} // namespace

QString formatDateTime(std::int64_t secondsSinceUnixEpoch, std::uint32_t nanoseconds) {
    icu::DateFormat* format = dateFormat();
    if (!format) {
        return {};
    }
    const UDate milliseconds =
        static_cast<double>(secondsSinceUnixEpoch) * 1000.0 + static_cast<double>(nanoseconds / 1'000'000);
    icu::UnicodeString text;
    format->format(milliseconds, text);
    return toQString(text);
}

QString formatWallClockDateTime(std::int64_t secondsSinceEpoch) {
    icu::DateFormat* format = dateFormat(true);
    if (!format) {
        return {};
    }
    icu::UnicodeString text;
    format->format(static_cast<double>(secondsSinceEpoch) * 1000.0, text);
    return toQString(text);
}

QString formatDecimal(double number, int fractionDigits) {
    icu::NumberFormat* format = decimalFormat();
    if (!format) {
        return QString::number(number, 'f', fractionDigits);
    }
    format->setMinimumFractionDigits(fractionDigits);
    format->setMaximumFractionDigits(fractionDigits);
    icu::UnicodeString text;
    format->format(number, text);
    return toQString(text);
}

QString formatNumberWithGrouping(std::int64_t number) {
    icu::NumberFormat* format = numberFormat();
    if (!format) {
        return QString::number(number);
    }
    icu::UnicodeString text;
    format->format(static_cast<int64_t>(number), text);
    return toQString(text);
}

void setLocaleForTesting(const char* icuLocale, const char* timeZoneId) {
    choice() = Choice{icuLocale ? icuLocale : "", timeZoneId ? timeZoneId : ""};
    formatters() = Formatters{};
}

} // namespace platform
