#pragma once

// Private to src/media/quicktime: the two kinds of refusal of the index reader.

#include "media/Error.h"

#include <cerrno>
#include <string>

namespace media::quicktime::detail {

// The file breaks the format (EBADMSG).
inline Error damaged(const std::string& what) {
    return Error{EBADMSG, "The movie file is damaged: " + what + "."};
}

// A valid file this reader does not index (ENOTSUP); the caller uses another path.
inline Error unsupported(const std::string& what) {
    return Error{ENOTSUP, "The movie file cannot be copied sample by sample: " + what + "."};
}

} // namespace media::quicktime::detail
