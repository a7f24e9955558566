#pragma once

#include "media/Error.h"
#include "support/PreferenceKeys.h"

#include <QString>
#include <QVariant>
#include <expected>
#include <map>

namespace platform {
class Preferences;
}

namespace support {

// Typed reading and writing of the preferences in the key table. A reader
// asks whether a key is present before reading it, so an absent key takes
// the table's default while a present false stays false.
class UserDefaults final {
public:
    explicit UserDefaults(platform::Preferences& store) : m_store(store) {}

    platform::Preferences& store() { return m_store; }

    bool isPresent(Pref pref) const;
    // The stored value, or an invalid QVariant when absent.
    QVariant value(Pref pref) const;

    // Booleans: a stored boolean, or a number (non-zero is true); otherwise the default.
    bool boolValue(Pref pref) const;
    // Integers: a stored integer, or a float truncated toward zero; otherwise the default (0 without one).
    qint64 integerValue(Pref pref) const;
    // Floats: a stored number; otherwise the default (0 without one).
    double floatValue(Pref pref) const;
    // Texts: a stored text; otherwise the empty text.
    QString textValue(Pref pref) const;

    void setValue(Pref pref, const QVariant& value);
    void remove(Pref pref);
    [[nodiscard]] bool synchronize();

    // A value for this run only, read before the stored one and never written
    // to the store: what a command-line option says for one command.
    void setOverride(Pref pref, const QVariant& value);

private:
    platform::Preferences& m_store;
    std::map<Pref, QVariant> m_overrides;
};

// A value typed by the key's declared type from what a person typed, or why not.
// Booleans: true/false, yes/no, 1/0; numbers in C locale notation; data as hex.
[[nodiscard]] std::expected<QVariant, media::Error> preferenceValueFromText(Pref pref, const QString& text);
// The text form of a stored value, the inverse of preferenceValueFromText for
// scalars; arrays and dictionaries read like JSON, with byte blocks as <hex>.
QString preferenceValueText(const QVariant& value);

} // namespace support
