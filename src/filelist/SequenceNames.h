#pragma once

#include <optional>
#include <string>

namespace filelist {

// The names the batch renames give files. Names are handled as the bytes the
// file system holds: the blank they add and look for is one byte in UTF-8 and
// never part of another character, so names in any script keep their bytes.

// The 1-based position as six digits with leading zeros ("000042"); positions
// of 1,000,000 or more in full.
std::string sequenceNumberText(int position);

// The sequence number of position, a blank, then name: "000001 a.mov".
std::string numberedName(int position, const std::string& name);

// The name without the number prefix numberedName puts in front: a leading
// run of six or more digits and the blank after it ("000001 a.mov" becomes
// "a.mov"). None for every other name ("my holiday.mov", "2019 trip.mkv",
// "0000012trip.mkv") and for a name that is nothing but the prefix.
std::optional<std::string> nameWithoutPrefix(const std::string& name);

} // namespace filelist
