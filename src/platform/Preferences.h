#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>
#include <filesystem>
#include <optional>

namespace platform {

// The application's preferences: typed values under text keys, kept in an XML
// property list (the format the Mac's preferences files use, read and written
// with libplist). A value is a bool, qint64, double, QString, QByteArray,
// QDateTime, QVariantList or QVariantMap, nested freely; every type comes back
// exactly as it went in, across restarts: a false boolean differs from an
// absent key, 1.0 stays a double.
//
// The file is read once, by the constructor, and written whole and atomically
// (a temporary file in the same folder renamed into place) by synchronize()
// and by the destructor when anything changed. A file that cannot be read,
// does not parse, or whose root is not a dictionary never stops the
// application: the store starts empty, so every reader gets its default, and
// the bad file is renamed aside (setAsideFile()) before anything is written.
//
// Not QSettings: its INI format reads numbers and booleans back as texts
// (false comes back as "false", not as a boolean), turns '/' in keys into
// groups, and leaves a lock file beside the settings; a format of our own
// registered with it would still need the code below to set a bad file aside.
//
// One object per file; used from one thread at a time.
class Preferences final {
public:
    explicit Preferences(std::filesystem::path file);
    ~Preferences();
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    // $XDG_CONFIG_HOME/JoinClip/preferences.plist (~/.config when unset).
    static std::filesystem::path defaultFile();

    bool contains(const QString& key) const;
    // The value, or an invalid QVariant when the key is absent. Integers come
    // back as qint64, floats as double, string lists as QVariantList.
    QVariant value(const QString& key) const;
    // Stores value (integers of any width become qint64, float becomes double,
    // QStringList becomes QVariantList, QVariantHash becomes QVariantMap, a
    // QDateTime becomes UTC in whole seconds, since that is what the file keeps).
    // Answers false, changing nothing, for a value with no property-list form:
    // an invalid QVariant, another type, an unsigned integer above INT64_MAX,
    // a text or dictionary key holding U+0000, a date outside December 1932 to
    // January 2069 (property-list dates are 32-bit seconds from 2001).
    [[nodiscard]] bool setValue(const QString& key, const QVariant& value);
    void remove(const QString& key);
    // Writes the values when they changed since the last write. Answers false
    // when writing failed (the changes stay pending), or when a bad file could
    // not be moved aside (it is then left untouched and nothing is written).
    [[nodiscard]] bool synchronize();
    QStringList keys() const;
    const std::filesystem::path& file() const { return m_file; }

    // Where a bad preferences file was moved, named after the file with
    // ".corrupt-YYYYMMDD-HHMMSS" (and "-2", "-3", ... when that name is
    // taken) appended; none when the file was fine, absent, or is still
    // waiting to be moved (the folder refused the rename).
    std::optional<std::filesystem::path> setAsideFile() const { return m_setAsideFile; }

private:
    void load();
    [[nodiscard]] bool moveBadFileAside();

    std::filesystem::path m_file;
    QVariantMap m_values;
    bool m_changed = false;
    bool m_badFilePending = false;
    std::optional<std::filesystem::path> m_setAsideFile;
};

} // namespace platform
