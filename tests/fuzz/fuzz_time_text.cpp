// Time text as people type it and as movie entries store it: whatever
// parseTime accepts must be written back by timeToString in a form that reads
// to the very same time and writes to the very same text again.

#include "media/Time.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what, std::string_view input, const std::string& written) {
    std::fprintf(stderr, "fuzz_time_text: %s\n  input:   \"%.*s\"\n  written: \"%s\"\n", what,
                 static_cast<int>(input.size()), input.data(), written.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto time = media::parseTime(input);
    if (!time) {
        return 0;
    }
    if (!media::isIndefinite(*time) && time->scale <= 0) {
        fail("parsed a time without a scale", input, "");
    }
    const std::string written = media::timeToString(*time);
    const auto back = media::parseTime(written);
    if (!back || !(*back == *time)) {
        fail("the written form does not read back to the same time", input, written);
    }
    if (media::timeToString(*back) != written) {
        fail("the written form is not stable", input, written);
    }
    if (media::compareTimes(*time, *back) != 0) {
        fail("a time does not compare equal to itself", input, written);
    }
    return 0;
}
