#pragma once

#include "support/ShortText.h"

#include <cstdint>

namespace support {

// Appends the English text of a number of whole seconds to text (meant to be
// empty): "0 secs", or its hours, minutes and seconds such as
// "1 hr 2 mins 3 secs ". Parts that are 0 are left out and every non-zero
// text ends in one blank, which callers show before a following comma.
// The unit words are not translated.
void DurationText(std::uint32_t seconds, ShortText& text);

} // namespace support
