#pragma once

// Private to src/media: the chain a movie's pictures are rendered through.
// The renderer and the preview both filter through one, so the preview shows
// the very pictures the renderer encodes.

#include "media/filters/detail/FrameChain.h"

#include <optional>

namespace media::filters::detail {

class RenderChain final {
public:
    explicit RenderChain(QStringList identifiers = {}) : m_identifiers(std::move(identifiers)) {}

    // The filters frames go through from the next frame on.
    void setFilters(const QStringList& identifiers);

    // `frame` (of a stream in `timeBase`) filtered into the encoder's pixel
    // format; the chain is made for the first frame's size and format.
    [[nodiscard]] std::expected<media::detail::FramePtr, Error> apply(media::detail::FramePtr frame,
                                                                     AVRational timeBase);

private:
    QStringList m_identifiers;
    std::optional<FrameChain> m_chain;
};

} // namespace media::filters::detail
