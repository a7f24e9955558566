#include "filelist/SequenceNames.h"

namespace filelist {

std::string sequenceNumberText(int position) {
    std::string digits = std::to_string(position);
    if (digits.size() < 6)
        digits.insert(0, 6 - digits.size(), '0');
    return digits;
}

std::string numberedName(int position, const std::string& name) {
    return sequenceNumberText(position) + ' ' + name;
}

std::optional<std::string> nameWithoutPrefix(const std::string& name) {
    const auto blank = name.find(' ');
    if (blank == std::string::npos)
        return std::nullopt;
    return name.substr(blank + 1);
}

} // namespace filelist
