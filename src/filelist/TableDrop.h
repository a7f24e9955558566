#pragma once

#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

namespace support {
class MovieDownloadQueue;
}

namespace filelist {

class FileList;

// The type under which the file table drags its own rows.
inline constexpr const char* kPrivateRowDragType = "MyPrivateTableViewDataType";

// What a drag offers the file table, read from its data by the window.
struct DroppedItems final {
    std::optional<std::vector<int>> draggedRows; // the table's own row drag
    std::vector<std::filesystem::path> fileNames;
    std::optional<QString> plainText;
    std::optional<QString> urlText;
    std::optional<QString> urlName; // the title of a dragged web link
};

// Whether the table takes the drop: never onto a row, only between rows;
// files and folders always (those that do not open are left out and named
// afterwards, FileList::leftOut); otherwise a text must be a web address, and
// a drag without any text (a row drag) is taken.
bool validateDrop(const DroppedItems& items, bool ontoRow);

struct DropOutcome final {
    bool accepted = false;
    std::vector<int> rowsToSelect; // after a row drag
};

// Takes a drop between rows, above `row`: a row drag moves the rows, files
// and folders are added, else a web address goes to the download queue.
// Afterwards the list-dependent controls are enabled for the new count.
DropOutcome acceptDrop(FileList& list, const DroppedItems& items, int row,
                       support::MovieDownloadQueue& downloads);

// Whether text is a web address the download queue can fetch: an absolute
// URL with a scheme and a host.
bool isWebAddress(const QString& text);

} // namespace filelist
