#include "ReferenceMovieFixture.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

using Bytes = std::string;

std::uint32_t readBig32(const Bytes& bytes, std::size_t at) {
    return (std::uint32_t(std::uint8_t(bytes[at])) << 24) | (std::uint32_t(std::uint8_t(bytes[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(bytes[at + 2])) << 8) | std::uint32_t(std::uint8_t(bytes[at + 3]));
}

void appendBig(Bytes& out, std::uint64_t value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

Bytes atom(const char* type, const Bytes& body) {
    Bytes out;
    appendBig(out, 8 + body.size(), 4);
    out.append(type, 4);
    return out + body;
}

// A Mac alias record whose tagged path field (type 2) holds the absolute path
// with ":" between its parts, after an empty volume name.
Bytes aliasRecord(const std::filesystem::path& target) {
    const std::string path = target.string();
    std::string colonPath;
    for (char c : path)
        colonPath.push_back(c == '/' ? ':' : c);
    const std::string name = target.filename().string();

    Bytes record(10, '\0');                 // creator, size, version, kind
    record.push_back(0);                    // volume name length
    record.append(27, '\0');                // volume name
    record.append(12, '\0');                // volume date, file system, disk type, parent id
    record.push_back(static_cast<char>(std::min<std::size_t>(name.size(), 63)));
    Bytes fileName = name.substr(0, 63);
    fileName.resize(63, '\0');
    record += fileName;
    record.append(16, '\0');                // file id, creation date, type, creator
    appendBig(record, 0xffff, 2);           // levels up from the alias: unknown
    appendBig(record, 0xffff, 2);           // levels down to the target: unknown
    record.append(16, '\0');
    appendBig(record, 2, 2);                // tagged field: absolute path
    appendBig(record, colonPath.size(), 2);
    record += colonPath;
    if (colonPath.size() % 2)
        record.push_back('\0');
    appendBig(record, 0xffff, 2);           // end of the tagged fields
    appendBig(record, 0, 2);
    return record;
}

Bytes dataReferenceAtom(const std::filesystem::path& target) {
    Bytes entryBody;
    appendBig(entryBody, 0, 4); // version and flags: the data is elsewhere
    entryBody += aliasRecord(target);
    Bytes body;
    appendBig(body, 0, 4); // version and flags
    appendBig(body, 1, 4); // one entry
    body += atom("alis", entryBody);
    return atom("dref", body);
}

bool isContainer(const std::string& type) {
    return type == "moov" || type == "trak" || type == "mdia" || type == "minf" || type == "dinf";
}

// Copies the atoms in [begin, end), replacing every data reference atom.
Bytes rewrite(const Bytes& in, std::size_t begin, std::size_t end, const Bytes& dref, bool topLevel) {
    Bytes out;
    for (std::size_t at = begin; at + 8 <= end;) {
        const std::uint32_t size = readBig32(in, at);
        const std::string type = in.substr(at + 4, 4);
        if (size < 8 || at + size > end)
            throw std::runtime_error("reference fixture: unsupported atom layout");
        if (type == "dref")
            out += dref;
        else if (isContainer(type))
            out += atom(type.c_str(), rewrite(in, at + 8, at + size, dref, false));
        else if (!topLevel || type == "ftyp" || type == "moov")
            out += in.substr(at, size); // the sample data ('mdat') stays in the source
        at += size;
    }
    return out;
}

} // namespace

std::filesystem::path makeReferenceMovie(const std::filesystem::path& source, const std::filesystem::path& output) {
    std::ifstream in(source, std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(in)), {});
    const Bytes rewritten =
        rewrite(bytes, 0, bytes.size(), dataReferenceAtom(std::filesystem::absolute(source)), true);
    std::ofstream(output, std::ios::binary) << rewritten;
    return output;
}
