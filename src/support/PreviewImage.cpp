#include "support/PreviewImage.h"

#include "media/Movie.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QPainter>
#include <QStandardPaths>
#include <QThread>
#include <algorithm>
#include <array>
#include <cmath>
#include <sys/stat.h>

namespace support {
namespace {

// Far beyond any preview a list shows; keeps the pixel arithmetic in range.
constexpr double kLargestSide = 4096;

// The freedesktop thumbnail sizes (the folder names and their largest side).
struct ThumbnailSize final {
    const char* folder;
    int pixels;
};
constexpr std::array kThumbnailSizes = {ThumbnailSize{"normal", 128}, ThumbnailSize{"large", 256},
                                        ThumbnailSize{"x-large", 512}, ThumbnailSize{"xx-large", 1024}};

// A path as a file:// URI, escaped as GLib escapes it (the thumbnailers of
// GNOME and of most desktops name thumbnails after this form): bytes other
// than letters, digits and -._~!'()*/&=:@+$, become %XX.
QByteArray fileUri(const std::filesystem::path& absolutePath) {
    static constexpr std::string_view kKept = "-._~!'()*/&=:@+$,";
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray uri("file://");
    for (const char character : absolutePath.native()) {
        const auto byte = static_cast<unsigned char>(character);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9') ||
            kKept.find(character) != std::string_view::npos) {
            uri.append(character);
        } else {
            uri.append('%');
            uri.append(kHex[byte >> 4]);
            uri.append(kHex[byte & 0x0F]);
        }
    }
    return uri;
}

std::filesystem::path thumbnailFolder() {
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty()) {
        return {};
    }
    return std::filesystem::path(QFile::encodeName(cache).toStdString()) / "thumbnails";
}

std::optional<QImage> cachedThumbnail(const std::filesystem::path& absolutePath,
                                      std::int64_t modificationTime, int wantedPixels) {
    const std::filesystem::path folder = thumbnailFolder();
    if (folder.empty()) {
        return std::nullopt;
    }
    const std::string name =
        QCryptographicHash::hash(fileUri(absolutePath), QCryptographicHash::Md5).toHex().toStdString() +
        ".png";
    // The smallest size that is large enough first, then the others from the largest down.
    std::vector<ThumbnailSize> order(kThumbnailSizes.begin(), kThumbnailSizes.end());
    std::stable_partition(order.begin(), order.end(),
                          [wantedPixels](const ThumbnailSize& size) { return size.pixels >= wantedPixels; });
    const auto firstSmaller =
        std::find_if(order.begin(), order.end(),
                     [wantedPixels](const ThumbnailSize& size) { return size.pixels < wantedPixels; });
    std::reverse(firstSmaller, order.end());

    const QString expectedTime = QString::number(modificationTime);
    for (const ThumbnailSize& size : order) {
        QImage thumbnail;
        const std::filesystem::path candidate = folder / size.folder / name;
        if (thumbnail.load(QFile::decodeName(candidate.c_str()), "PNG") &&
            thumbnail.text(QStringLiteral("Thumb::MTime")) == expectedTime) {
            return thumbnail;
        }
    }
    return std::nullopt;
}

std::optional<QImage> pictureImage(const std::filesystem::path& file, const QSize& wanted) {
    QImageReader reader(QFile::decodeName(file.c_str()));
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        return std::nullopt;
    }
    const QSize natural = reader.size();
    if (natural.isValid() && reader.supportsOption(QImageIOHandler::ScaledSize) &&
        (natural.width() > wanted.width() || natural.height() > wanted.height())) {
        reader.setScaledSize(natural.scaled(wanted, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull()) {
        return std::nullopt;
    }
    return image;
}

std::optional<QImage> movieFrame(const std::filesystem::path& file) {
    auto opened = media::Movie::open(file);
    if (!opened || !(*opened)->hasTrackOfType(media::MediaType::Video)) {
        return std::nullopt;
    }
    const media::Movie& movie = **opened;
    media::Time time = movie.posterTime();
    if (media::compareTimes(time, media::zeroTime()) <= 0) {
        const media::Time duration = movie.duration();
        time = media::isIndefinite(duration) ? media::zeroTime()
                                             : media::makeTime(duration.value / 3, duration.scale);
        const media::Time latest = media::makeTime(3, 1);
        if (media::compareTimes(time, latest) > 0) {
            time = latest;
        }
    }
    if (std::optional<QImage> frame = movie.frameImage(time)) {
        return frame;
    }
    return movie.frameImage(media::zeroTime());
}

std::optional<QImage> mimeTypeIcon(const std::filesystem::path& file, const QSize& wanted) {
    // Theme icons need a GUI application and its main thread.
    const QCoreApplication* application = QCoreApplication::instance();
    if (!qobject_cast<const QGuiApplication*>(application) ||
        QThread::currentThread() != application->thread()) {
        return std::nullopt;
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QFile::decodeName(file.c_str()));
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) {
        icon = QIcon::fromTheme(type.genericIconName());
    }
    if (icon.isNull()) {
        return std::nullopt;
    }
    QImage image = icon.pixmap(wanted).toImage();
    if (image.isNull()) {
        return std::nullopt;
    }
    return image;
}

// Shrinks to fit `wanted`, keeping the aspect ratio, and never enlarges: every
// listed file keeps its preview, and 1,000 previews enlarged to 512 by 512
// would hold a gigabyte, while a view enlarges a small one as cheaply.
QImage fitted(const QImage& image, const QSize& wanted) {
    if (image.width() <= wanted.width() && image.height() <= wanted.height())
        return image;
    return image.scaled(wanted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

} // namespace

std::optional<QImage> imageWithPreviewOfFileAtPath(const std::filesystem::path& file, QSizeF size,
                                                   bool /*asIcon*/) {
    // Written so that NaN fails too.
    if (!(size.width() > 0 && size.height() > 0) || file.empty()) {
        return std::nullopt;
    }
    const QSize wanted(static_cast<int>(std::ceil(std::min(size.width(), kLargestSide))),
                       static_cast<int>(std::ceil(std::min(size.height(), kLargestSide))));
    std::error_code error;
    const std::filesystem::path absolutePath = std::filesystem::absolute(file, error).lexically_normal();
    struct stat info {};
    if (error || ::stat(absolutePath.c_str(), &info) != 0) {
        return std::nullopt;
    }

    std::optional<QImage> preview =
        cachedThumbnail(absolutePath, info.st_mtime, std::max(wanted.width(), wanted.height()));
    if (!preview && S_ISREG(info.st_mode)) {
        preview = pictureImage(absolutePath, wanted);
        if (!preview) {
            preview = movieFrame(absolutePath);
        }
    }
    if (!preview) {
        preview = mimeTypeIcon(absolutePath, wanted);
    }
    if (!preview || preview->isNull()) {
        return std::nullopt;
    }
    return fitted(*preview, wanted);
}

} // namespace support
