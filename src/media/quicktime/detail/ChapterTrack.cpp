#include "media/quicktime/detail/ChapterTrack.h"

#include <cerrno>
#include <string>

namespace media::quicktime::detail {

namespace {

// A text sample description with no styling beyond a default font, as FFmpeg
// writes for chapter tracks (QuickTime needs one to show the track as chapters).
const ByteVector& textDescription() {
    static const ByteVector entry = [] {
        ByteVector bytes;
        appendBig(bytes, 59, 4);
        appendText(bytes, "text");
        appendBig(bytes, 0, 6); // reserved
        appendBig(bytes, 1, 2); // data reference
        appendBig(bytes, 1, 4); // display flags
        appendBig(bytes, 0, 2); // horizontal and vertical justification
        appendBig(bytes, 0, 4); // background colour
        appendBig(bytes, 0, 8); // default text box
        appendBig(bytes, 0, 4); // style: first and last character
        appendBig(bytes, 1, 2); // font id
        appendBig(bytes, 0, 2); // font style flags, size
        appendBig(bytes, 0, 4); // foreground colour
        appendBig(bytes, 13, 4);
        appendText(bytes, "ftab");
        appendBig(bytes, 1, 2); // one font
        appendBig(bytes, 1, 2); // font id
        appendBig(bytes, 0, 1); // empty font name
        return bytes;
    }();
    return entry;
}

// The base media information header of a text track: 'gmin' and 'text'.
const ByteVector& textMediaHeader() {
    static const ByteVector atom = [] {
        ByteVector bytes;
        appendBig(bytes, 76, 4);
        appendText(bytes, "gmhd");
        appendBig(bytes, 24, 4);
        appendText(bytes, "gmin");
        appendBig(bytes, 0, 4);      // version and flags
        appendBig(bytes, 0x40, 2);   // graphics mode: copy
        appendBig(bytes, 0x8000, 2); // opcolor
        appendBig(bytes, 0x8000, 2);
        appendBig(bytes, 0x8000, 2);
        appendBig(bytes, 0, 2); // balance
        appendBig(bytes, 0, 2); // reserved
        appendBig(bytes, 44, 4);
        appendText(bytes, "text");
        const std::uint32_t matrix[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
        for (std::uint32_t value : matrix)
            appendBig(bytes, value, 4);
        return bytes;
    }();
    return atom;
}

} // namespace

ByteVector chapterSample(const std::string& title) {
    std::size_t length = std::min<std::size_t>(title.size(), 0xffff);
    while (length < title.size() && length > 0 && (static_cast<std::uint8_t>(title[length]) & 0xc0) == 0x80)
        --length; // never split a UTF-8 sequence
    ByteVector sample;
    appendBig(sample, length, 2);
    appendText(sample, std::string_view(title).substr(0, length));
    appendBig(sample, 12, 4);
    appendText(sample, "encd");
    appendBig(sample, 0x100, 4); // UTF-8
    return sample;
}

std::expected<std::optional<TrackLayout>, Error> chapterTrackLayout(const std::vector<Chapter>& chapters,
                                                                    std::int32_t movieTimeScale,
                                                                    std::int64_t movieDuration) {
    TrackLayout track;
    track.isChapterTrack = true;
    track.attributes.handlerType = makeFourCC("text");
    track.attributes.mediaTimeScale = movieTimeScale;
    track.attributes.enabled = false;
    track.descriptions.push_back(textDescription());
    track.references.push_back(OutputReference{});
    track.mediaInformationHeader = textMediaHeader();
    std::int64_t total = 0;
    for (const Chapter& chapter : chapters) {
        if (chapter.duration < 0 || chapter.duration > UINT32_MAX)
            return std::unexpected(Error{EINVAL, "A chapter's duration is out of range."});
        // An untitled chapter keeps its sample (an empty text): without it
        // every later chapter would begin where the one before it does.
        track.ownSamples.push_back(
            OwnSample{chapterSample(chapter.title), static_cast<std::uint32_t>(chapter.duration), 0});
        total += chapter.duration;
    }
    if (track.ownSamples.empty())
        return std::optional<TrackLayout>{};
    // The last chapter runs to the end of the movie, or stops there: a chapter
    // track longer or shorter than the movie would change its length.
    OwnSample& last = track.ownSamples.back();
    const std::int64_t lastDuration = static_cast<std::int64_t>(last.duration) + movieDuration - total;
    if (movieDuration > 0 && lastDuration > 0 && lastDuration <= UINT32_MAX) {
        last.duration = static_cast<std::uint32_t>(lastDuration);
        total = movieDuration;
    }
    if (total > 0)
        track.editList.push_back(EditListEntry{total, 0, 0x10000});
    return std::optional<TrackLayout>{std::move(track)};
}

} // namespace media::quicktime::detail
