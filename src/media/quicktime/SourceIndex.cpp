#include "media/quicktime/SourceIndex.h"

namespace media::quicktime {

Handler handlerOf(FourCC handlerType) {
    switch (handlerType) {
    case makeFourCC("vide"):
        return Handler::Video;
    case makeFourCC("soun"):
        return Handler::Sound;
    case makeFourCC("text"):
        return Handler::Text;
    case makeFourCC("sbtl"):
    case makeFourCC("subt"):
        return Handler::Subtitle;
    default:
        return Handler::Other;
    }
}

FourCC TrackIndex::codec(std::size_t descriptionIndex) const {
    if (descriptionIndex >= sampleDescriptions.size() || sampleDescriptions[descriptionIndex].size() < 8)
        return 0;
    const auto& entry = sampleDescriptions[descriptionIndex];
    return (FourCC(entry[4]) << 24) | (FourCC(entry[5]) << 16) | (FourCC(entry[6]) << 8) | FourCC(entry[7]);
}

} // namespace media::quicktime
