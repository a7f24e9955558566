#pragma once

#include <QString>
#include <QStringList>

namespace support {

// Fills a message format of the application's texts ("Created movie: %@",
// "Chapter %d", "Processing file %d of %d") with its arguments in order:
// each %@, %d, %i, %u, %s, %ld or %lld takes the next argument's text, and %%
// is a percent sign. A placeholder without an argument is left as written.
QString fillFormat(const QString& format, const QStringList& arguments);

// An alert's or a status line's text: looked up with LocalizedString, then,
// given arguments, filled as a format (so "%d of the files could not be
// exported." finds its translation). Without arguments the looked-up text is
// shown as it is, never read as a format.
QString localizedText(const QString& text, const QStringList& arguments = {});

} // namespace support
