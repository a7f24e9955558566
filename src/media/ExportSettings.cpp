#include "media/ExportSettings.h"

#include "media/ExportComponent.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <limits>
#include <optional>

namespace media {

namespace {

// "JCxs": JoinClip export settings.
constexpr char kMagic[4] = {'J', 'C', 'x', 's'};
constexpr std::size_t kMaxEncoderName = 64;
constexpr int kMaxBitRate = 1'000'000'000;
constexpr int kMaxQuality = 63;
constexpr int kMaxSampleRate = 768'000;
constexpr int kMaxChannels = 8;
constexpr int kMaxFrameRate = 1000;

void putUnsigned(QByteArray& out, std::uint64_t value, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out.append(static_cast<char>((value >> shift) & 0xff));
}

void putText(QByteArray& out, const std::string& text) {
    putUnsigned(out, text.size(), 1);
    out.append(text.data(), static_cast<qsizetype>(text.size()));
}

// Reads fields in order; once one is cut short, every later one is missing too.
class Reader final {
public:
    explicit Reader(const QByteArray& bytes) : m_bytes(bytes) {}

    std::optional<std::uint64_t> number(int bytes) {
        if (m_failed || m_bytes.size() - m_at < bytes) {
            m_failed = true;
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | static_cast<std::uint8_t>(m_bytes[m_at++]);
        return value;
    }
    std::optional<std::string> text() {
        const auto length = number(1);
        if (!length || m_bytes.size() - m_at < static_cast<qsizetype>(*length)) {
            m_failed = true;
            return std::nullopt;
        }
        std::string value(m_bytes.constData() + m_at, *length);
        m_at += static_cast<qsizetype>(*length);
        return value;
    }
    bool atEnd() const { return m_at == m_bytes.size(); }

private:
    const QByteArray& m_bytes;
    qsizetype m_at = 0;
    bool m_failed = false;
};

bool isEncoderName(const std::string& name) {
    return name.size() <= kMaxEncoderName && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
           });
}

// Values no component could use, whatever the bytes say.
std::optional<std::string> problemWith(const ExportSettings& settings) {
    if (!isEncoderName(settings.videoEncoder) || !isEncoderName(settings.audioEncoder))
        return "an encoder name is not one";
    if (settings.videoBitRate < 0 || settings.videoBitRate > kMaxBitRate || settings.audioBitRate < 0 ||
        settings.audioBitRate > kMaxBitRate)
        return "a bit rate is out of range";
    if (settings.quality < 0 || settings.quality > kMaxQuality)
        return "the quality is out of range";
    if (settings.width < 0 || settings.height < 0 || settings.width > kMaxExportDimension ||
        settings.height > kMaxExportDimension || (settings.width == 0) != (settings.height == 0))
        return "the size is out of range";
    if (settings.frameRateNum == 0
            ? settings.frameRateDen != 0
            : (settings.frameRateNum < 0 || settings.frameRateDen <= 0 || settings.frameRateDen > 0xffff ||
               settings.frameRateNum > kMaxFrameRate * settings.frameRateDen))
        return "the frame rate is out of range";
    if (settings.sampleRate < 0 || settings.sampleRate > kMaxSampleRate)
        return "the sample rate is out of range";
    if (settings.channels < 0 || settings.channels > kMaxChannels)
        return "the number of channels is out of range";
    return std::nullopt;
}

Error refused(const std::string& why) {
    return Error{EINVAL, "the export settings cannot be read: " + why};
}

std::optional<int> parseNumber(std::string_view text) {
    int multiplier = 1;
    if (!text.empty() && (text.back() == 'k' || text.back() == 'K')) {
        multiplier = 1000;
        text.remove_suffix(1);
    } else if (!text.empty() && text.back() == 'M') {
        multiplier = 1'000'000;
        text.remove_suffix(1);
    }
    long long value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size() || value < 0 ||
        value * multiplier > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value * multiplier);
}

std::expected<void, Error> badValue(std::string_view key, std::string_view value) {
    return std::unexpected(
        Error{EINVAL, "\"" + std::string(value) + "\" is not a value for " + std::string(key)});
}

bool offers(const std::vector<std::string>& encoders, std::string_view name) {
    return std::find(encoders.begin(), encoders.end(), name) != encoders.end();
}

} // namespace

QByteArray encodeExportSettings(const ExportSettings& settings) {
    QByteArray out(kMagic, sizeof kMagic);
    putUnsigned(out, kExportSettingsVersion, 2);
    putText(out, settings.videoEncoder.substr(0, kMaxEncoderName));
    putText(out, settings.audioEncoder.substr(0, kMaxEncoderName));
    putUnsigned(out, static_cast<std::uint32_t>(settings.videoBitRate), 4);
    putUnsigned(out, static_cast<std::uint8_t>(settings.quality), 1);
    putUnsigned(out, static_cast<std::uint16_t>(settings.width), 2);
    putUnsigned(out, static_cast<std::uint16_t>(settings.height), 2);
    putUnsigned(out, static_cast<std::uint32_t>(settings.audioBitRate), 4);
    putUnsigned(out, static_cast<std::uint32_t>(settings.sampleRate), 4);
    putUnsigned(out, static_cast<std::uint8_t>(settings.channels), 1);
    // Since version 2.
    putUnsigned(out, static_cast<std::uint16_t>(settings.frameRateNum), 2);
    putUnsigned(out, static_cast<std::uint16_t>(settings.frameRateDen), 2);
    return out;
}

std::expected<ExportSettings, Error> decodeExportSettings(const QByteArray& bytes) {
    if (bytes.size() < 6 || !std::equal(kMagic, kMagic + 4, bytes.constData()))
        return std::unexpected(refused("they are not JoinClip export settings"));
    Reader reader(bytes);
    reader.number(4);
    const std::uint64_t version = *reader.number(2);
    if (version < 1 || version > kExportSettingsVersion)
        return std::unexpected(refused("version " + std::to_string(version) + " is not known"));

    ExportSettings settings;
    const auto videoEncoder = reader.text();
    const auto audioEncoder = reader.text();
    const auto videoBitRate = reader.number(4);
    const auto quality = reader.number(1);
    const auto width = reader.number(2);
    const auto height = reader.number(2);
    const auto audioBitRate = reader.number(4);
    const auto sampleRate = reader.number(4);
    const auto channels = reader.number(1);
    if (!channels)
        return std::unexpected(refused("they are cut short"));
    // Values above INT_MAX stay out of range once narrowed, as negative numbers.
    const auto narrow = [](std::uint64_t value) {
        return static_cast<int>(static_cast<std::int32_t>(value));
    };
    settings.videoEncoder = *videoEncoder;
    settings.audioEncoder = *audioEncoder;
    settings.videoBitRate = narrow(*videoBitRate);
    settings.quality = narrow(*quality);
    settings.width = narrow(*width);
    settings.height = narrow(*height);
    settings.audioBitRate = narrow(*audioBitRate);
    settings.sampleRate = narrow(*sampleRate);
    settings.channels = narrow(*channels);
    if (version >= 2) {
        const auto frameRateNum = reader.number(2);
        const auto frameRateDen = reader.number(2);
        if (!frameRateDen)
            return std::unexpected(refused("they are cut short"));
        settings.frameRateNum = narrow(*frameRateNum);
        settings.frameRateDen = narrow(*frameRateDen);
    }
    if (!reader.atEnd())
        return std::unexpected(refused("bytes follow the last field"));
    if (const auto problem = problemWith(settings))
        return std::unexpected(refused(*problem));
    return settings;
}

std::expected<void, Error> setExportSetting(const ExportComponent& component, ExportSettings& settings,
                                            std::string_view key, std::string_view value) {
    const bool videoKey = key == "video-codec" || key == "video-bitrate" || key == "quality" ||
                          key == "size" || key == "frame-rate";
    const bool soundKey =
        key == "audio-codec" || key == "audio-bitrate" || key == "sample-rate" || key == "channels";
    if (!videoKey && !soundKey)
        return std::unexpected(Error{EINVAL, "\"" + std::string(key) + "\" is not an export setting"});
    if ((videoKey && !component.writesVideo) || (soundKey && !component.writesSound))
        return std::unexpected(Error{EINVAL, component.name + " has no " + (videoKey ? "video" : "sound") +
                                                 " to set " + std::string(key) + " for"});
    ExportSettings changed = settings;
    if (key == "video-codec" || key == "audio-codec") {
        const auto& encoders = key == "video-codec" ? component.videoEncoders : component.audioEncoders;
        if (value != "default" && !offers(encoders, value)) {
            std::string choices;
            for (const std::string& encoder : encoders)
                choices += (choices.empty() ? "" : ", ") + encoder;
            return std::unexpected(Error{EINVAL, component.name + " offers no encoder \"" +
                                                     std::string(value) + "\" (it offers " + choices + ")"});
        }
        (key == "video-codec" ? changed.videoEncoder : changed.audioEncoder) =
            value == "default" ? std::string() : std::string(value);
    } else if (key == "size") {
        if (value == "natural") {
            changed.width = changed.height = 0;
        } else {
            const std::size_t x = value.find('x');
            const auto width = x == std::string_view::npos ? std::nullopt : parseNumber(value.substr(0, x));
            const auto height = x == std::string_view::npos ? std::nullopt : parseNumber(value.substr(x + 1));
            if (!width || !height)
                return badValue(key, value);
            changed.width = *width;
            changed.height = *height;
        }
    } else if (key == "frame-rate") {
        if (value == "source" || value == "0") {
            changed.frameRateNum = changed.frameRateDen = 0;
        } else {
            const std::size_t slash = value.find('/');
            const auto num = parseNumber(value.substr(0, slash));
            const auto den = slash == std::string_view::npos ? std::optional<int>(1)
                                                             : parseNumber(value.substr(slash + 1));
            if (!num || !den || *num == 0)
                return badValue(key, value);
            changed.frameRateNum = *num;
            changed.frameRateDen = *den;
        }
    } else {
        const auto number = parseNumber(value);
        if (!number)
            return badValue(key, value);
        if (key == "video-bitrate")
            changed.videoBitRate = *number;
        else if (key == "quality")
            changed.quality = *number;
        else if (key == "audio-bitrate")
            changed.audioBitRate = *number;
        else if (key == "sample-rate")
            changed.sampleRate = *number;
        else
            changed.channels = *number;
    }
    if (problemWith(changed))
        return badValue(key, value);
    settings = changed;
    return {};
}

std::vector<std::pair<std::string, std::string>> exportSettingsFields(const ExportSettings& settings) {
    const auto orDefault = [](const std::string& text) {
        return text.empty() ? std::string("default") : text;
    };
    return {
        {"video-codec", orDefault(settings.videoEncoder)},
        {"video-bitrate", std::to_string(settings.videoBitRate)},
        {"quality", std::to_string(settings.quality)},
        {"size", settings.width == 0
                     ? "natural"
                     : std::to_string(settings.width) + "x" + std::to_string(settings.height)},
        {"frame-rate", settings.frameRateNum == 0 ? "source"
                                                  : std::to_string(settings.frameRateNum) + "/" +
                                                        std::to_string(settings.frameRateDen)},
        {"audio-codec", orDefault(settings.audioEncoder)},
        {"audio-bitrate", std::to_string(settings.audioBitRate)},
        {"sample-rate", std::to_string(settings.sampleRate)},
        {"channels", std::to_string(settings.channels)},
    };
}

} // namespace media
