#include "support/LocalizedString.h"

#include <QHash>
#include <QTranslator>
#include <memory>

namespace support {

namespace {

constexpr const char* kContext = "LocalizedStrings";
constexpr const char* kTableDirectory = ":/i18n"; // where src/support/CMakeLists.txt embeds the .qm files

struct LocalizedStrings final {
    std::unique_ptr<QHash<QString, QString>> m_cache; // made by the first lookup
    std::unique_ptr<QTranslator> m_translator;        // none: every key answers itself
    bool m_tableChosen = false;
    LocalizedStringTable m_tableForTesting;
};

LocalizedStrings& state() {
    static LocalizedStrings localizedStrings;
    return localizedStrings;
}

QString consultTable(const QString& key) {
    const auto& table = state().m_tableForTesting;
    return table ? table(key) : lookUpLocalizedStringTable(key);
}

} // namespace

QString LocalizedString(const QString& key) {
    auto& strings = state();
    if (!strings.m_cache) {
        strings.m_cache = std::make_unique<QHash<QString, QString>>();
    }
    if (const auto cached = strings.m_cache->constFind(key); cached != strings.m_cache->cend()) {
        return cached.value();
    }
    QString answer = consultTable(key);
    if (!answer.isNull()) {
        strings.m_cache->insert(key, answer);
    }
    return answer;
}

QString LocalizedString(const char* utf8Key) {
    if (utf8Key == nullptr) {
        return LocalizedString(QString());
    }
    return LocalizedString(QString::fromUtf8(utf8Key));
}

bool loadLocalizedStringTable(const QLocale& locale) {
    auto& strings = state();
    strings.m_tableChosen = true;
    auto translator = std::make_unique<QTranslator>();
    // Tries joinclip_de_DE.qm, joinclip_de.qm, ... for each of the locale's UI languages.
    if (!translator->load(locale, QStringLiteral("joinclip"), QStringLiteral("_"),
                          QString::fromLatin1(kTableDirectory))) {
        strings.m_translator.reset();
        return false;
    }
    strings.m_translator = std::move(translator);
    return true;
}

QString lookUpLocalizedStringTable(const QString& key) {
    auto& strings = state();
    if (!strings.m_tableChosen) {
        loadLocalizedStringTable(QLocale::system());
    }
    if (key.isNull()) {
        return QString();
    }
    if (strings.m_translator) {
        const QByteArray utf8Key = key.toUtf8();
        QString translated = strings.m_translator->translate(kContext, utf8Key.constData());
        if (!translated.isEmpty()) {
            return translated;
        }
    }
    return key;
}

void setLocalizedStringTableForTesting(LocalizedStringTable table) {
    state().m_tableForTesting = std::move(table);
}

void resetLocalizedStringsForTesting() {
    state() = LocalizedStrings{};
}

std::size_t localizedStringCacheSize() {
    const auto& cache = state().m_cache;
    return cache ? static_cast<std::size_t>(cache->size()) : 0;
}

} // namespace support
