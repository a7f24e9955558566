#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace support {

// A NUL-terminated byte text with room for 255 bytes, kept on the caller's
// stack: progress lines are rebuilt on every progress callback, and building
// one in a ShortText allocates nothing. Text that does not fit is dropped
// without a word.
class ShortText final {
public:
    static constexpr std::size_t kCapacity = 255;

    ShortText() = default;
    explicit ShortText(std::string_view text) { assign(text); }

    // Replaces the text with at most the first 255 bytes of text.
    void assign(std::string_view text);
    // Appends as many bytes of text as still fit.
    void append(std::string_view text);
    // Appends the decimal form of number: "-" for negatives, no grouping,
    // no leading zeros.
    void appendNumber(std::int64_t number);
    void clear();

    const char* c_str() const { return m_bytes.data(); }
    std::string_view view() const { return {m_bytes.data(), m_size}; }
    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

private:
    std::array<char, kCapacity + 1> m_bytes{};
    std::size_t m_size = 0;
};

} // namespace support
