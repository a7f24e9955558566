#include "platform/Preferences.h"

#include "platform/PropertyList.h"
#include "platform/RenameInPlace.h"
#include "platform/WholeFileWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <system_error>

namespace platform {
namespace {

// No real preferences file comes near this; a larger one is treated as bad
// rather than read whole into memory.
constexpr qint64 kLargestPreferencesFile = 64 * 1024 * 1024;

QString qtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

Preferences::Preferences(std::filesystem::path file) : m_file(std::move(file)) {
    load();
}

Preferences::~Preferences() {
    if (m_changed) {
        (void)synchronize(); // the last chance to write: a destructor has no one to tell
    }
}

std::filesystem::path Preferences::defaultFile() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath() + QStringLiteral("/.config");
    }
    return std::filesystem::path(folder.toStdString()) / "JoinClip" / "preferences.plist";
}

void Preferences::load() {
    std::error_code error;
    const auto status = std::filesystem::status(m_file, error);
    if (error == std::errc::no_such_file_or_directory ||
        status.type() == std::filesystem::file_type::not_found) {
        return; // a first start: no preferences yet
    }
    std::optional<QVariantMap> values;
    QFile input(qtPath(m_file));
    if (input.open(QIODevice::ReadOnly) && input.size() <= kLargestPreferencesFile) {
        // Not read(limit): that would reserve the whole limit every time.
        const QByteArray bytes = input.readAll();
        if (input.error() == QFileDevice::NoError && bytes.size() <= kLargestPreferencesFile) {
            values = detail::readPropertyListDictionary(bytes);
        }
    }
    if (values) {
        m_values = std::move(*values);
        return;
    }
    m_badFilePending = true;
    // When it cannot be moved yet, it stays pending: synchronize moves it before writing.
    (void)moveBadFileAside();
}

bool Preferences::moveBadFileAside() {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const std::string base = m_file.string() + ".corrupt-" + stamp.toStdString();
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const std::filesystem::path candidate = attempt == 1 ? base : base + "-" + std::to_string(attempt);
        const int failure = renameInPlace(m_file, candidate.filename().native());
        if (failure == 0) {
            m_setAsideFile = candidate;
            m_badFilePending = false;
            return true;
        }
        if (failure == ENOENT) {
            m_badFilePending = false; // gone meanwhile: nothing left to protect
            return true;
        }
        if (failure != EEXIST && failure != ENOTEMPTY) {
            return false;
        }
    }
    return false;
}

bool Preferences::contains(const QString& key) const {
    return m_values.contains(key);
}

QVariant Preferences::value(const QString& key) const {
    return m_values.value(key);
}

bool Preferences::setValue(const QString& key, const QVariant& value) {
    if (key.contains(QChar(u'\0'))) {
        return false;
    }
    std::optional<QVariant> stored = detail::propertyListValue(value);
    if (!stored) {
        return false;
    }
    const auto existing = m_values.constFind(key);
    if (existing != m_values.cend() && detail::samePropertyListValue(existing.value(), *stored)) {
        return true;
    }
    m_values.insert(key, std::move(*stored));
    m_changed = true;
    return true;
}

void Preferences::remove(const QString& key) {
    if (m_values.remove(key) > 0) {
        m_changed = true;
    }
}

QStringList Preferences::keys() const {
    return m_values.keys();
}

bool Preferences::synchronize() {
    if (!m_changed) {
        return true;
    }
    if (m_badFilePending && !moveBadFileAside()) {
        return false;
    }
    const std::optional<QByteArray> xml = detail::writePropertyListXml(m_values);
    if (!xml) {
        return false;
    }
    std::error_code error;
    if (m_file.has_parent_path()) {
        std::filesystem::create_directories(m_file.parent_path(), error);
    }
    if (writeWholeFile(m_file, *xml) != 0) {
        return false;
    }
    m_changed = false;
    return true;
}

} // namespace platform
