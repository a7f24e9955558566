#include "media/filters/detail/RenderChain.h"

namespace media::filters::detail {

using media::detail::FramePtr;

void RenderChain::setFilters(const QStringList& identifiers) {
    m_identifiers = identifiers;
    m_chain.reset();
}

std::expected<FramePtr, Error> RenderChain::apply(FramePtr frame, AVRational timeBase) {
    if (!m_chain) {
        auto made = FrameChain::create(m_identifiers,
                                       {frame->width, frame->height, static_cast<AVPixelFormat>(frame->format),
                                        timeBase, frame->sample_aspect_ratio},
                                       AV_PIX_FMT_YUV420P);
        if (!made)
            return std::unexpected(made.error());
        m_chain.emplace(std::move(*made));
    }
    return m_chain->apply(std::move(frame));
}

} // namespace media::filters::detail
