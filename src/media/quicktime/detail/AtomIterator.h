#pragma once

// Private to src/media/quicktime: walking the atoms inside an atom held in memory.

#include "media/quicktime/FourCC.h"
#include "media/quicktime/detail/ByteReader.h"

#include <optional>

namespace media::quicktime::detail {

struct Atom final {
    FourCC type = 0;
    Bytes body; // after the size, type and any 64-bit size
};

// The child atoms of a container's body, one by one. A size of 0 means "up to
// the end of the container"; a size of 1 announces a 64-bit size. An atom that
// claims more bytes than its container holds ends the walk and marks it
// damaged. A tail too short to hold an atom header (QuickTime ends some
// containers with four zero bytes) is ignored.
class AtomIterator final {
public:
    explicit AtomIterator(Bytes container) : m_rest(container) {}

    [[nodiscard]] std::optional<Atom> next();
    bool damaged() const { return m_damaged; }

private:
    Bytes m_rest;
    bool m_damaged = false;
};

// The first child of the given type, if any (damage ends the search).
[[nodiscard]] std::optional<Atom> findChild(Bytes container, FourCC type);

} // namespace media::quicktime::detail
