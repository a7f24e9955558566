#pragma once

// Private to src/media/quicktime: the entry count that starts a table atom.

#include "media/quicktime/detail/ByteReader.h"
#include "media/quicktime/detail/IndexErrors.h"

#include <cstdint>
#include <expected>
#include <string>

namespace media::quicktime::detail {

// Reads the table's entry count, checked against what is left of the atom
// before anything is sized by it: refused as damaged when that many entries
// of `entrySize` bytes would overrun it. `table` names the table in the error
// ("the time table").
[[nodiscard]] inline std::expected<std::uint32_t, Error> readEntryCount(ByteReader& reader, std::size_t entrySize,
                                                                        const std::string& table) {
    const std::uint32_t count = reader.u32();
    if (!reader.ok() || !reader.fits(count, entrySize))
        return std::unexpected(damaged(table + " claims more entries than it holds"));
    return count;
}

} // namespace media::quicktime::detail
