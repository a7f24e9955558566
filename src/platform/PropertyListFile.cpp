#include "platform/PropertyListFile.h"

#include "platform/PropertyList.h"
#include "platform/WholeFileWrite.h"

#include <QFile>

namespace platform {

namespace {

// Settings files hold a few hundred bytes per component; anything near this is not one.
constexpr qint64 kLargestPropertyListFile = 16 * 1024 * 1024;

} // namespace

std::optional<QVariantMap> readPropertyListFile(const std::filesystem::path& file) {
    QFile input(QFile::decodeName(file.c_str()));
    if (!input.open(QIODevice::ReadOnly) || input.size() > kLargestPropertyListFile)
        return std::nullopt;
    const QByteArray bytes = input.readAll();
    if (input.error() != QFileDevice::NoError || bytes.size() > kLargestPropertyListFile)
        return std::nullopt;
    return detail::readPropertyListDictionary(bytes);
}

std::optional<QVariantMap> readPropertyListBytes(const QByteArray& bytes) {
    if (bytes.size() > kLargestPropertyListFile)
        return std::nullopt;
    return detail::readPropertyListDictionary(bytes);
}

bool writePropertyListFile(const std::filesystem::path& file, const QVariantMap& dictionary) {
    const std::optional<QByteArray> xml = detail::writePropertyListXml(dictionary);
    if (!xml)
        return false;
    return writeWholeFile(file, *xml) == 0;
}

} // namespace platform
