#include "support/ShortText.h"

#include <charconv>
#include <cstring>

namespace support {

namespace {

bool isUtf8Continuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// How many leading bytes of text to keep when only room bytes fit. A cut
// inside a UTF-8 sequence drops that whole character rather than leave half
// of it: the text is shown to people, and a broken sequence shows as garbage.
// Bytes that are not valid UTF-8 are cut where they fall.
std::size_t fittingLength(std::string_view text, std::size_t room) {
    if (text.size() <= room) {
        return text.size();
    }
    constexpr std::size_t kLongestSequence = 4;
    std::size_t cut = room;
    for (std::size_t back = 1; back < kLongestSequence && cut > 0 && isUtf8Continuation(text[cut]); ++back) {
        --cut;
    }
    return isUtf8Continuation(text[cut]) ? room : cut;
}

} // namespace

void ShortText::assign(std::string_view text) {
    clear();
    append(text);
}

void ShortText::append(std::string_view text) {
    const std::size_t length = fittingLength(text, kCapacity - m_size);
    if (length > 0) {
        std::memcpy(m_bytes.data() + m_size, text.data(), length);
    }
    m_size += length;
    m_bytes[m_size] = '\0';
}

void ShortText::appendNumber(std::int64_t number) {
    std::array<char, 24> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), number);
    append(std::string_view(digits.data(), static_cast<std::size_t>(result.ptr - digits.data())));
}

void ShortText::clear() {
    m_size = 0;
    m_bytes[0] = '\0';
}

} // namespace support
