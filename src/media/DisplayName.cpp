#include "media/DisplayName.h"

#include <QFile>

namespace media {

QString displayNameOfFile(const std::filesystem::path& path) {
    std::string text = path.native();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    std::string name = std::filesystem::path(text).filename().native();
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.resize(dot);
    return QFile::decodeName(QByteArray::fromStdString(name));
}

} // namespace media
