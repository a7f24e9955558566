#pragma once

#include <cstdint>
#include <string>

namespace media::quicktime {

// A four-character code as it sits in the file: the first letter in the high byte.
using FourCC = std::uint32_t;

constexpr FourCC makeFourCC(const char (&text)[5]) {
    return (FourCC(std::uint8_t(text[0])) << 24) | (FourCC(std::uint8_t(text[1])) << 16) |
           (FourCC(std::uint8_t(text[2])) << 8) | FourCC(std::uint8_t(text[3]));
}

// The four letters, with '?' for bytes that are not printable, for messages.
std::string fourCCText(FourCC code);

} // namespace media::quicktime
