// Time text as people type it and as movie entries store it: whatever
// parseTime accepts must be written back by timeToString in a form that reads
// to the very same time and writes to the very same text again.

#include "FuzzWorkFolder.h"
#include "media/Time.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto time = media::parseTime(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!time)
        return 0;
    fuzz::check(media::isIndefinite(*time) || time->scale > 0, "fuzz_time_text", "a time without a scale");
    const std::string written = media::timeToString(*time);
    const auto back = media::parseTime(written);
    fuzz::check(back && *back == *time, "fuzz_time_text", "the written form does not read back");
    fuzz::check(media::timeToString(*back) == written, "fuzz_time_text", "the written form is not stable");
    fuzz::check(media::compareTimes(*time, *back) == 0, "fuzz_time_text", "a time differs from itself");
    return 0;
}
