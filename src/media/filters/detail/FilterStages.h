#pragma once

// Private to src/media: how each filter identifier is done: a libavfilter
// graph where libavfilter has the effect, else a kernel of our own.

#include "media/filters/detail/Kernels.h"

#include <QString>

#include <optional>
#include <string>

namespace media::filters::detail {

struct FilterStage final {
    // In FFmpeg's graph syntax, one input and one output; link labels in it
    // are written "%1" so that a stage can stand in a graph more than once.
    std::string graph;
    Kernel kernel = nullptr; // set when graph is empty
};

// The stage of the filter, or none when the identifier names no filter.
[[nodiscard]] std::optional<FilterStage> filterStage(const QString& identifier);

} // namespace media::filters::detail
