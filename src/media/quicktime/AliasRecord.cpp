#include "media/quicktime/AliasRecord.h"

#include "media/quicktime/detail/BigEndian.h"
#include "media/quicktime/detail/ByteReader.h"

#include <algorithm>
#include <string>

namespace media::quicktime {

namespace {

constexpr std::size_t kFixedPart = 150; // where the tagged fields begin
constexpr std::uint16_t kAbsolutePathField = 2;
constexpr std::uint16_t kPosixPathField = 18;
constexpr std::uint16_t kEndOfFields = 0xffff;

void appendPascal(detail::ByteVector& out, const std::string& text, std::size_t capacity) {
    const std::size_t length = std::min(text.size(), capacity);
    out.push_back(static_cast<std::uint8_t>(length));
    detail::appendText(out, std::string_view(text).substr(0, length));
    out.resize(out.size() + capacity - length, 0);
}

void appendField(detail::ByteVector& out, std::uint16_t type, const std::string& data) {
    detail::appendBig(out, type, 2);
    detail::appendBig(out, data.size(), 2);
    detail::appendText(out, data);
    if (data.size() % 2)
        out.push_back(0);
}

} // namespace

std::vector<std::uint8_t> aliasRecord(const std::filesystem::path& target) {
    const std::string posix = target.string();
    std::string colonPath = posix; // after the empty volume name
    std::replace(colonPath.begin(), colonPath.end(), '/', ':');
    // A name of up to 63 bytes, cut where no UTF-8 sequence is split.
    std::string name = target.filename().string();
    if (name.size() > 63) {
        std::size_t cut = 63;
        while (cut > 0 && (static_cast<std::uint8_t>(name[cut]) & 0xc0) == 0x80)
            --cut;
        name.resize(cut);
    }

    detail::ByteVector record;
    detail::appendBig(record, 0, 4);      // application-defined type
    detail::appendBig(record, 0, 2);      // record size, set below
    detail::appendBig(record, 2, 2);      // version
    detail::appendBig(record, 0, 2);      // kind: a file
    appendPascal(record, "", 27);         // volume name
    detail::appendBig(record, 0, 4);      // volume creation date
    detail::appendBig(record, 0, 2);      // file system type
    detail::appendBig(record, 0, 2);      // disk type
    detail::appendBig(record, 0, 4);      // parent folder id
    appendPascal(record, name, 63);       // file name
    detail::appendBig(record, 0, 4);      // file number
    detail::appendBig(record, 0, 4);      // file creation date
    detail::appendBig(record, 0, 4);      // file type
    detail::appendBig(record, 0, 4);      // file creator
    detail::appendBig(record, 0xffff, 2); // levels from the alias up to a common folder: unknown
    detail::appendBig(record, 0xffff, 2); // levels from there down to the target: unknown
    detail::appendBig(record, 0, 4);      // volume attributes
    detail::appendBig(record, 0, 2);      // volume file system id
    record.resize(kFixedPart, 0);         // reserved
    appendField(record, kAbsolutePathField, colonPath);
    appendField(record, kPosixPathField, posix);
    detail::appendBig(record, kEndOfFields, 2);
    detail::appendBig(record, 0, 2);
    detail::storeBig(record, 4, std::min<std::size_t>(record.size(), 0xffff), 2);
    return record;
}

std::filesystem::path aliasRecordTarget(const std::vector<std::uint8_t>& record) {
    if (record.size() < kFixedPart)
        return {};
    detail::ByteReader reader(record);
    reader.skip(kFixedPart);
    std::string absolute;
    std::string posix;
    while (reader.ok() && reader.remaining() >= 4) {
        const std::uint16_t type = reader.u16();
        const std::uint16_t length = reader.u16();
        if (type == kEndOfFields)
            break;
        const auto data = reader.take(length + (length % 2));
        if (!reader.ok())
            break;
        const std::string text(data.begin(), data.begin() + length);
        if (type == kAbsolutePathField)
            absolute = text;
        else if (type == kPosixPathField)
            posix = text;
    }
    if (!posix.empty())
        return posix;
    std::replace(absolute.begin(), absolute.end(), ':', '/');
    return absolute;
}

} // namespace media::quicktime
