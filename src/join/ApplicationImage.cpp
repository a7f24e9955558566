#include "join/ApplicationImage.h"

#include <QFile>

namespace join {

namespace {

constexpr const char* kImageDirectory = ":/images/"; // where src/join/CMakeLists.txt embeds them

} // namespace

std::optional<QByteArray> applicationImageNamed(const QString& name) {
    if (name.isEmpty() || name.contains('/'))
        return std::nullopt;
    QFile file(QString::fromLatin1(kImageDirectory) + name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace join
