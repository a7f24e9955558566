#include "platform/Exif.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// Exiv2 0.27 still hands out std::auto_ptr.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

namespace platform {
namespace {

constexpr std::size_t kSignatureLength = 32;

bool startsWith(std::string_view bytes, std::string_view prefix, std::size_t offset = 0) {
    return bytes.size() >= offset + prefix.size() && bytes.substr(offset, prefix.size()) == prefix;
}

// Whether the first bytes of a file are those of a picture format Exiv2 reads EXIF from.
bool looksLikePictureWithExif(std::string_view head) {
    using namespace std::string_view_literals;
    static constexpr std::array kPrefixes = {
        "\xFF\xD8\xFF"sv, // JPEG
        "II*\0"sv,
        "MM\0*"sv, // TIFF, DNG, NEF, CR2, ARW, PEF, ...
        "IIRO"sv,
        "IIRS"sv,
        "MMOR"sv,                     // Olympus ORF
        "IIU\0"sv,                    // Panasonic RW2
        "\x89PNG\r\n\x1A\n"sv,        // PNG
        "FUJIFILMCCD-RAW"sv,          // Fujifilm RAF
        "II\x1A\0\0\0HEAPCCDR"sv,     // Canon CRW
        "\0MRM"sv,                    // Minolta MRW
        "\0\0\0\x0CjP  \r\n\x87\n"sv, // JPEG 2000
        "8BPS"sv,                     // Photoshop
    };
    for (const std::string_view prefix : kPrefixes) {
        if (startsWith(head, prefix)) {
            return true;
        }
    }
    if (startsWith(head, "RIFF") && startsWith(head, "WEBP", 8)) {
        return true;
    }
    // ISO base media files: pictures (HEIF, AVIF, Canon CR3) but not movies.
    if (startsWith(head, "ftyp", 4)) {
        static constexpr std::array kPictureBrands = {"heic"sv, "heix"sv, "heim"sv, "heis"sv,
                                                      "hevc"sv, "hevx"sv, "mif1"sv, "msf1"sv,
                                                      "avif"sv, "avis"sv, "crx "sv};
        return std::ranges::any_of(kPictureBrands,
                                   [&head](std::string_view brand) { return startsWith(head, brand, 8); });
    }
    return false;
}

// The first bytes of a regular file; none for anything else (a FIFO would
// block Exiv2, a device could be endless) or when it cannot be read.
std::optional<std::string> regularFileHead(const std::filesystem::path& file) {
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::optional<std::string> head;
    struct stat info {};
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        std::string bytes(kSignatureLength, '\0');
        const ssize_t count = ::read(descriptor, bytes.data(), bytes.size());
        if (count >= 0) {
            bytes.resize(static_cast<std::size_t>(count));
            head = std::move(bytes);
        }
    }
    ::close(descriptor);
    return head;
}

void prepareExiv2() {
    static const bool prepared = [] {
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::enableBMFF(true);
        return true;
    }();
    (void)prepared;
}

// atoi: leading blanks, an optional sign, digits; clamped to the int range.
std::int64_t readLikeAtoi(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    std::int64_t value = 0;
    while (*text >= '0' && *text <= '9') {
        value = std::min<std::int64_t>(value * 10 + (*text - '0'), std::int64_t{INT_MAX} + 1);
        ++text;
    }
    value = negative ? -value : value;
    return std::clamp<std::int64_t>(value, INT_MIN, INT_MAX);
}

// Splits as strtok does: runs of separator are one, empty pieces never appear.
std::vector<std::string> splitLikeStrtok(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t start = text.find_first_not_of(separator, position);
        if (start == std::string::npos) {
            break;
        }
        const std::size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        position = end == std::string::npos ? text.size() : end;
    }
    return pieces;
}

std::array<std::int64_t, 3> threeFields(const std::string& part) {
    std::array<std::int64_t, 3> fields{};
    const std::vector<std::string> pieces = splitLikeStrtok(part, ':');
    for (std::size_t index = 0; index < fields.size() && index < pieces.size(); ++index) {
        fields[index] = readLikeAtoi(pieces[index].c_str());
    }
    return fields;
}

constexpr std::int64_t floorDivide(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

// Days from 1970-01-01 to year-month-day of the proleptic Gregorian calendar,
// month 1 to 12 (the day may be any number: it simply adds).
constexpr std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = floorDivide(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

constexpr std::int64_t kDaysFrom1904To1970 = -daysFromCivil(1904, 1, 1);
static_assert(kDaysFrom1904To1970 == 24107);

} // namespace

std::optional<std::string> exifDate(const std::filesystem::path& file) {
    const std::optional<std::string> head = regularFileHead(file);
    if (!head || !looksLikePictureWithExif(*head)) {
        return std::nullopt;
    }
    prepareExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(file.string(), false);
        if (!image.get()) {
            return std::nullopt;
        }
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        // Cameras write all three; scanners and editors often only some.
        for (const char* key :
             {"Exif.Photo.DateTimeDigitized", "Exif.Photo.DateTimeOriginal", "Exif.Image.DateTime"}) {
            const auto found = exif.findKey(Exiv2::ExifKey(key));
            if (found != exif.end()) {
                return found->toString();
            }
        }
        return std::nullopt;
    } catch (const std::exception&) {
        return std::nullopt;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::int64_t> exifDateSeconds(const std::string& text) {
    const std::vector<std::string> parts = splitLikeStrtok(text, ' ');
    if (parts.size() < 2) {
        return std::nullopt;
    }
    const auto [year, month, day] = threeFields(parts[0]);
    const auto [hour, minute, second] = threeFields(parts[1]);
    // Carry the month into the year first, so that the month indexes 1 to 12.
    const std::int64_t monthsFromYearStart = month - 1;
    const std::int64_t carriedYear = year + floorDivide(monthsFromYearStart, 12);
    const std::int64_t carriedMonth = monthsFromYearStart - floorDivide(monthsFromYearStart, 12) * 12 + 1;
    const std::int64_t days = daysFromCivil(carriedYear, carriedMonth, 1) + (day - 1) + kDaysFrom1904To1970;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

} // namespace platform
