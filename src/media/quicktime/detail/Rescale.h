#pragma once

// Private to src/media/quicktime: moving a count of units from one scale to another.

#include "media/detail/Int128.h"

#include <cstdint>

namespace media::quicktime::detail {

// value * to / from, rounded to the nearest unit (half away from zero).
// `from` and `to` are positive; the exact product never overflows.
inline std::int64_t rescaleRounded(std::int64_t value, std::int64_t to, std::int64_t from) {
    if (to == from)
        return value;
    const media::detail::Int128 product = static_cast<media::detail::Int128>(value) * to;
    const media::detail::Int128 half = from / 2;
    const media::detail::Int128 rounded =
        product >= 0 ? (product + half) / from : -((-product + half) / from);
    return static_cast<std::int64_t>(rounded);
}

} // namespace media::quicktime::detail
