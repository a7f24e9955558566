#include "platform/TextOrder.h"

#include <string_view>

#include <memory>
#include <string>
#include <unicode/coll.h>
#include <unicode/locid.h>

namespace platform {
namespace {

struct KeptCollator final {
    std::string locale; // empty: the user's
    std::unique_ptr<icu::Collator> collator;
    bool tried = false;
};

KeptCollator& kept() {
    static KeptCollator state;
    return state;
}

std::unique_ptr<icu::Collator> makeCollator(const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status) || !collator) {
        return nullptr;
    }
    collator->setAttribute(UCOL_NUMERIC_COLLATION, UCOL_ON, status);
    collator->setAttribute(UCOL_STRENGTH, UCOL_SECONDARY, status);
    collator->setAttribute(UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, status);
    collator->setAttribute(UCOL_NORMALIZATION_MODE, UCOL_ON, status);
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return collator;
}

icu::Collator* collator() {
    KeptCollator& state = kept();
    if (!state.tried) {
        state.tried = true;
        icu::Locale locale = state.locale.empty() ? icu::Locale::getDefault() : icu::Locale(state.locale.c_str());
        // The C and POSIX locales map to ICU's en_US_POSIX, whose collation sorts
        // like ASCII (every capital before every small letter): the root order
        // keeps text order case-insensitive there too.
        if (std::string_view(locale.getVariant()) == "POSIX")
            locale = icu::Locale::getRoot();
        state.collator = makeCollator(locale);
        if (!state.collator) {
            state.collator = makeCollator(icu::Locale::getRoot());
        }
    }
    return state.collator.get();
}

} // namespace

int compareInTextOrder(const QString& a, const QString& b) {
    icu::Collator* textOrder = collator();
    if (!textOrder) {
        // ICU without its data: still a consistent order.
        return QString::compare(a, b, Qt::CaseInsensitive);
    }
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult result = textOrder->compare(
        reinterpret_cast<const char16_t*>(a.utf16()), static_cast<int32_t>(a.size()),
        reinterpret_cast<const char16_t*>(b.utf16()), static_cast<int32_t>(b.size()), status);
    if (U_FAILURE(status)) {
        return QString::compare(a, b, Qt::CaseInsensitive);
    }
    return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

void sortInTextOrder(std::vector<QString>& texts) {
    stableSortInTextOrder(texts, [](const QString& text) -> const QString& { return text; });
}

void setTextOrderLocaleForTesting(const char* icuLocale) {
    kept() = KeptCollator{icuLocale ? icuLocale : "", nullptr, false};
}

} // namespace platform
