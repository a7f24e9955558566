#include "platform/ExtendedAttributes.h"

#include <cerrno>
#include <sys/xattr.h>

namespace platform {

int setExtendedAttribute(const std::filesystem::path& path, const std::string& name, const QByteArray& value) {
    if (::lsetxattr(path.c_str(), name.c_str(), value.constData(), static_cast<std::size_t>(value.size()), 0) != 0)
        return errno;
    return 0;
}

std::optional<QByteArray> extendedAttribute(const std::filesystem::path& path, const std::string& name) {
    // The size may change between the two calls: read again until it fits.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::lgetxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray value(static_cast<qsizetype>(size), '\0');
        const ssize_t read = ::lgetxattr(path.c_str(), name.c_str(), value.data(), value.size());
        if (read >= 0) {
            value.truncate(static_cast<qsizetype>(read));
            return value;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace platform
