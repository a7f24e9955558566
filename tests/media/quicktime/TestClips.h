#pragma once

// Fixture clips shared by the tests of one run: each is made once, on first
// use, in a temporary folder removed when the tests end.

#include "MediaFixtures.h"

#include <filesystem>
#include <string>

namespace quicktime_test {

// The clip `name` made from `recipe` (the same name must always come with the same recipe).
std::filesystem::path sharedClip(const std::string& name, const fixtures::ClipRecipe& recipe);

// H.264 + AAC clips of the standard 160x120 25 fps kind with `frames` frames.
std::filesystem::path h264AacClip(const std::string& container, int frames);

// A fresh empty folder for one test's output, removed when the tests end.
std::filesystem::path scratchFolder(const std::string& testName);

} // namespace quicktime_test
