#include "media/quicktime/FourCC.h"

namespace media::quicktime {

std::string fourCCText(FourCC code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>((code >> shift) & 0xff);
        text.push_back(c >= 0x20 && c < 0x7f ? c : '?');
    }
    return text;
}

} // namespace media::quicktime
