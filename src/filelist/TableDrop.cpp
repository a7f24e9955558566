#include "filelist/TableDrop.h"
#include "filelist/ListEdits.h"

#include "filelist/FileList.h"
#include "support/MovieDownloadQueue.h"

#include <QUrl>
#include <system_error>

namespace filelist {

bool isWebAddress(const QString& text) {
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    return url.isValid() && !url.scheme().isEmpty() && !url.host().isEmpty();
}

bool validateDrop(const DroppedItems& items, bool ontoRow) {
    if (ontoRow)
        return false;
    // Files are taken whole: what does not open is left out and named after
    // the drop, so no file is judged while the pointer moves.
    if (!items.fileNames.empty())
        return true;
    const std::optional<QString>& text = items.plainText ? items.plainText : items.urlText;
    if (!text)
        return true; // a row drag carries no text
    return isWebAddress(*text);
}

DropOutcome acceptDrop(FileList& list, const DroppedItems& items, int row,
                       support::MovieDownloadQueue& downloads) {
    DropOutcome outcome;
    row = std::clamp(row, 0, list.count());
    if (items.draggedRows) {
        outcome.rowsToSelect = moveRows(list, *items.draggedRows, row);
        outcome.accepted = true;
    } else if (!items.fileNames.empty() && list.processDroppedFiles(items.fileNames, row)) {
        outcome.accepted = true;
    } else {
        const std::optional<QString>& address = items.plainText ? items.plainText : items.urlText;
        if (address && !address->trimmed().isEmpty() && isWebAddress(*address)) {
            downloads.enqueueMovieURL(address->trimmed(), items.urlName);
            outcome.accepted = true;
        }
    }
    return outcome;
}

} // namespace filelist
