#pragma once

// Small movie files built byte by byte, for reading what encoders never
// write: every layout the format allows and every way a file can lie.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quicktime_test {

using Bytes = std::vector<std::uint8_t>;

void appendBig(Bytes& out, std::uint64_t value, int bytes);
// 32-bit big-endian words, as the tables hold them.
Bytes words(std::initializer_list<std::uint32_t> values);
// With `wide`, the 64-bit size form (size field 1).
Bytes atom(const std::string& type, const Bytes& body, bool wide = false);
Bytes fullAtom(const std::string& type, std::uint8_t version, std::uint32_t flags, const Bytes& body);
Bytes concat(std::initializer_list<Bytes> parts);

// One track of `samples` samples of `sampleSize` bytes, one chunk each, in
// an 'mdat'; the sample data are the bytes 0, 1, 2, ... of each sample's number.
struct TinyMovieOptions final {
    std::string handler = "vide";
    std::string codec = "avc1";
    std::uint32_t samples = 3;
    std::uint32_t sampleSize = 10;
    std::uint32_t sampleDuration = 100;
    std::int32_t mediaTimeScale = 1000;
    bool moovFirst = false;
    bool wideSizes = false;        // 'mdat' and 'moov' with 64-bit sizes
    bool wideChunkOffsets = false; // 'co64'
    int compactSizeBits = 0;       // 'stz2' with 4, 8 or 16-bit fields
    bool constantSize = false;     // 'stsz' with one size for all
    std::uint32_t samplesPerChunk = 1;
    std::vector<std::int32_t> compositionOffsets = {}; // 'ctts', version 1 when one is negative
    std::vector<std::uint32_t> syncSamples = {};       // 'stss' (1-based) when not empty
    bool externalData = false;                         // a data reference to another file
    bool fragmentTail = false;                         // a 'moof' after the 'moov'
    bool movieExtends = false;                         // 'mvex' in the 'moov'
    bool paddingAtoms = false;                         // 'free', 'skip', 'wide' and 'udta' around
    // Replace a table's body (after version and flags for full atoms) as built.
    std::optional<Bytes> stsdBody = {}, sttsBody = {}, stszBody = {}, stscBody = {}, stcoBody = {};
};

// The whole file; `mediaDataOffset` receives where the first sample starts.
Bytes tinyMovie(const TinyMovieOptions& options, std::uint64_t* mediaDataOffset = nullptr);

} // namespace quicktime_test
