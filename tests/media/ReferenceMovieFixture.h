#pragma once

#include <filesystem>

// Writes a QuickTime reference movie: the movie header of `source` (a .mov with
// 32-bit chunk offsets) whose data reference points at `source` by an alias
// record, without any sample data of its own.
std::filesystem::path makeReferenceMovie(const std::filesystem::path& source, const std::filesystem::path& output);
