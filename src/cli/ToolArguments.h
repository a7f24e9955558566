#pragma once

#include "media/Time.h"

#include <expected>
#include <filesystem>
#include <string>
#include <vector>

namespace cli {

// A movie time the user typed (any form the time reader accepts), not negative.
std::expected<media::Time, std::string> readMovieTime(const std::string& text);

// Why outputs cannot be written without losing something: one of them exists
// (unless `replace`), is the source itself, or two are the same file.
std::expected<void, std::string> checkOutputs(const std::filesystem::path& source,
                                              const std::vector<std::filesystem::path>& outputs, bool replace);

} // namespace cli
