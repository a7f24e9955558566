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
    // numberedName writes at least six digits: a shorter run is part of the
    // name people gave ("2019 trip.mkv").
    const auto digits = name.find_first_not_of("0123456789");
    if (digits < 6 || digits == std::string::npos || name[digits] != ' ' || digits + 1 == name.size())
        return std::nullopt;
    return name.substr(digits + 1);
}

} // namespace filelist
