#pragma once

#include <QString>
#include <QStringList>

namespace support {

// Fills a message format of the application's texts ("Created movie: %@",
// "Chapter %d", "Processing file %d of %d") with its arguments in order:
// each %@, %d, %i, %u, %s, %ld or %lld takes the next argument's text, and %%
// is a percent sign. A placeholder without an argument is left as written.
QString fillFormat(const QString& format, const QStringList& arguments);

} // namespace support
