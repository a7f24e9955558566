#pragma once

#include <string>

namespace media {

// Why a media operation failed: the FFmpeg or errno code (0 when neither
// applies) and a sentence for people.
struct Error final {
    int code = 0;
    std::string message;
};

} // namespace media
