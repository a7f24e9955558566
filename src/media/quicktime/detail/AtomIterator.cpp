#include "media/quicktime/detail/AtomIterator.h"

namespace media::quicktime::detail {

std::optional<Atom> AtomIterator::next() {
    if (m_damaged || m_rest.size() < 8)
        return std::nullopt;
    ByteReader reader(m_rest);
    std::uint64_t size = reader.u32();
    const FourCC type = reader.u32();
    if (size == 1)
        size = reader.u64();
    else if (size == 0)
        size = m_rest.size();
    const std::size_t header = reader.position();
    if (!reader.ok() || size < header || size > m_rest.size()) {
        m_damaged = true;
        return std::nullopt;
    }
    Atom atom{type, m_rest.subspan(header, static_cast<std::size_t>(size) - header)};
    m_rest = m_rest.subspan(static_cast<std::size_t>(size));
    return atom;
}

std::optional<Atom> findChild(Bytes container, FourCC type) {
    AtomIterator atoms(container);
    while (auto atom = atoms.next()) {
        if (atom->type == type)
            return atom;
    }
    return std::nullopt;
}

} // namespace media::quicktime::detail
