#pragma once

#include <string>
#include <vector>

namespace testing_support {

// The calls that several recording fakes received, in order, one line each,
// for tests that check the order of steps across ports.
using CallLog = std::vector<std::string>;

} // namespace testing_support
