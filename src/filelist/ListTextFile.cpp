#include "filelist/ListTextFile.h"

#include "platform/WholeFileWrite.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filelist {

namespace {

// A list of a million long paths stays far below this; larger files are not lists.
constexpr qsizetype kMaxListFileBytes = qsizetype{512} << 20;

bool holdsLineBreak(const std::string& path) {
    return path.find_first_of("\r\n") != std::string::npos;
}

media::Error errnoError(int code) {
    return media::Error{code, std::strerror(code)};
}

class ReadOnlyFile final {
public:
    explicit ReadOnlyFile(const std::filesystem::path& file)
        : m_descriptor(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~ReadOnlyFile() {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    int descriptor() const { return m_descriptor; }

private:
    int m_descriptor;
};

std::expected<QByteArray, media::Error> readWholeFile(const std::filesystem::path& file) {
    const ReadOnlyFile opened(file);
    if (opened.descriptor() < 0)
        return std::unexpected(errnoError(errno));
    struct stat status {};
    if (::fstat(opened.descriptor(), &status) != 0)
        return std::unexpected(errnoError(errno));
    if (S_ISDIR(status.st_mode))
        return std::unexpected(errnoError(EISDIR));
    if (!S_ISREG(status.st_mode))
        return std::unexpected(media::Error{EINVAL, "not a regular file"});
    QByteArray bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(opened.descriptor(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::unexpected(errnoError(errno));
        if (got == 0)
            return bytes;
        if (bytes.size() + got > kMaxListFileBytes)
            return std::unexpected(errnoError(EFBIG));
        bytes.append(buffer, got);
    }
}

} // namespace

ListText fileListText(const std::vector<std::filesystem::path>& paths) {
    ListText text;
    for (const auto& path : paths) {
        if (holdsLineBreak(path.native()) || !QByteArrayView(path.native()).isValidUtf8()) {
            text.leftOut.push_back(path);
            continue;
        }
        if (!text.bytes.isEmpty())
            text.bytes.append('\n');
        text.bytes.append(path.native());
    }
    return text;
}

std::vector<std::filesystem::path> parseFileListText(QByteArrayView bytes) {
    std::vector<std::filesystem::path> lines;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    if (bytes.isEmpty())
        return lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.emplace_back(std::string(bytes.data() + start, static_cast<std::size_t>(i - start)));
        if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n')
            ++i; // CR LF is one line end
        start = i + 1;
    }
    return lines;
}

std::expected<std::vector<std::filesystem::path>, media::Error>
loadFileList(const std::filesystem::path& file) {
    auto bytes = readWholeFile(file);
    if (!bytes)
        return std::unexpected(bytes.error());
    if (!QByteArrayView(*bytes).isValidUtf8())
        return std::unexpected(media::Error{0, "not UTF-8 text"});
    return parseFileListText(*bytes);
}

std::expected<void, media::Error> writeFileList(const std::filesystem::path& file, const QByteArray& text) {
    if (const int error = platform::writeWholeFile(file, text); error != 0)
        return std::unexpected(media::Error{error, std::strerror(error)});
    return {};
}

} // namespace filelist
