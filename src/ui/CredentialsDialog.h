#pragma once

#include "net/HttpGet.h"

#include <QUrl>
#include <optional>

class QWidget;

namespace ui {

// Asks for the name and password a server wants, in a dialog modal to
// window (a sheet); none when the person cancels.
[[nodiscard]] std::optional<net::Credentials> askForCredentials(QWidget& window, const QUrl& url,
                                                                const QString& realm);

} // namespace ui
