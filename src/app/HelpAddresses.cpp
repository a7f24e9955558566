#include "app/HelpAddresses.h"

#include <QFileInfo>

namespace app {

std::optional<QUrl> manualAddress() {
    for (const char* file : {JOINCLIP_INSTALLED_MANUAL, JOINCLIP_SOURCE_MANUAL})
        if (QFileInfo(QString::fromUtf8(file)).isFile())
            return QUrl::fromLocalFile(QString::fromUtf8(file));
    return std::nullopt;
}

std::optional<QUrl> productPageAddress() {
    const QUrl page(QString::fromUtf8(JOINCLIP_HOMEPAGE_URL));
    if (!page.isValid() || (page.scheme() != "https" && page.scheme() != "http"))
        return std::nullopt;
    return page;
}

QUrl softwareCentreAddress() {
    return QUrl(QStringLiteral("appstream://org.example.joinclip.JoinClip"));
}

} // namespace app
