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

// Everything after the first blank of name ("holiday clip.mov" becomes
// "clip.mov"); none when the name holds no blank.
std::optional<std::string> nameWithoutPrefix(const std::string& name);

} // namespace filelist
