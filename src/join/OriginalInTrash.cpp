#include "join/OriginalInTrash.h"

#include "media/FilesInProgress.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdio.h>
#include <system_error>
#include <unistd.h>

namespace join {

namespace {

media::Error systemError(const char* what, const std::filesystem::path& path, int code = errno) {
    return media::Error{code, std::string(what) + " \"" + path.string() + "\": " + std::strerror(code)};
}

// Renames without replacing anything that is at `to`.
bool renameFree(const std::filesystem::path& from, const std::filesystem::path& to) {
    return ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

// "NAME (original).EXT", or "NAME (original 2).EXT" and on while taken.
std::filesystem::path keptBesideName(const std::filesystem::path& file, int attempt) {
    const std::string suffix = attempt == 1 ? " (original)" : " (original " + std::to_string(attempt) + ")";
    return file.parent_path() / (file.stem().string() + suffix + file.extension().string());
}

} // namespace

OriginalInTrash::OriginalInTrash(std::filesystem::path file, std::filesystem::path held)
    : m_file(std::move(file)), m_held(std::move(held)) {}

OriginalInTrash::OriginalInTrash(OriginalInTrash&& other) noexcept
    : m_file(std::move(other.m_file)), m_held(std::exchange(other.m_held, {})) {}

OriginalInTrash::~OriginalInTrash() {
    if (!m_held.empty())
        ::unlink(m_held.c_str());
}

std::expected<OriginalInTrash, media::Error> OriginalInTrash::hold(const std::filesystem::path& file) {
    const std::filesystem::path held = media::ownFileName(file.parent_path(), file.extension().string());
    if (::link(file.c_str(), held.c_str()) == 0)
        return OriginalInTrash(file, held);
    std::error_code error;
    if (!std::filesystem::copy_file(file, held, error))
        return std::unexpected(media::Error{error.value(), "cannot keep the original of \"" + file.string() +
                                                               "\": " + error.message()});
    return OriginalInTrash(file, held);
}

std::expected<OriginalInTrash::Kept, media::Error> OriginalInTrash::moveToTrash() {
    // The rewritten file steps aside so that the original can be trashed from
    // its own place (the trash remembers where a file came from), then returns.
    const std::filesystem::path rewritten = media::ownFileName(m_file.parent_path(), m_file.extension().string());
    if (!renameFree(m_file, rewritten))
        return std::unexpected(systemError("cannot move aside", m_file));
    if (!renameFree(m_held, m_file)) {
        const int code = errno;
        (void)renameFree(rewritten, m_file);
        return std::unexpected(systemError("cannot put back the original of", m_file, code));
    }
    m_held.clear();
    Kept kept;
    QString inTrash;
    if (QFile::moveToTrash(QFile::decodeName(m_file.c_str()), &inTrash)) {
        kept = {std::filesystem::path(QFile::encodeName(inTrash).toStdString()), true};
    } else {
        for (int attempt = 1; kept.path.empty() && attempt < 1000; ++attempt)
            if (renameFree(m_file, keptBesideName(m_file, attempt)))
                kept.path = keptBesideName(m_file, attempt);
    }
    if (kept.path.empty()) {
        // Neither trashed nor kept beside: the original stays at its name, and the rewrite goes.
        const int code = errno;
        ::unlink(rewritten.c_str());
        return std::unexpected(systemError("cannot keep the original of", m_file, code));
    }
    if (!renameFree(rewritten, m_file))
        // Something took the name meanwhile: the rewritten movie waits under its hidden name.
        return std::unexpected(systemError("cannot put the rewritten movie back at", m_file));
    return kept;
}

} // namespace join
