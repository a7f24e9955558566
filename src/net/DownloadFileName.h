#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

namespace net {

// The longest name given to a downloaded file, in UTF-8 bytes: below the 255
// that Linux file systems take, leaving room for the "-N" of a free name.
inline constexpr qsizetype kLongestDownloadName = 240;

// The file name carried by a Content-Disposition header: its "filename*"
// (RFC 5987: UTF-8 or ISO-8859-1, percent-encoded) when present and
// readable, else its "filename" (quoted or not). None when it names none.
// The name is returned as the server sent it: pass it through safeDownloadName.
[[nodiscard]] std::optional<QString> contentDispositionFileName(const QByteArray& header);

// A name a server suggested, made safe to create in the destination folder:
// only its last part after any "/" or "\" (so "../../x" and "/etc/passwd"
// stay inside the folder as "x" and "passwd"), without control and
// invisible formatting characters, without blanks around it and without
// leading dots (a download never hides itself), cut to
// kLongestDownloadName bytes keeping its extension. Empty when nothing usable remains.
[[nodiscard]] QString safeDownloadName(const QString& suggested);

// The name a download of url is saved under: the safe form of the
// Content-Disposition name, else of the address's last path segment, else of
// its host, else "download".
[[nodiscard]] QString downloadFileName(const QByteArray& contentDisposition, const QUrl& url);

// The nth free-name candidate of name: "movie.mov", then "movie-1.mov", "movie-2.mov"...
[[nodiscard]] QString numberedFileName(const QString& name, int number);

} // namespace net
