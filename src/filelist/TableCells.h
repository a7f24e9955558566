#pragma once

#include "support/PreferenceKeys.h"

#include <QString>
#include <QVariant>
#include <array>

namespace filelist {

class FileList;

struct TableColumn final {
    const char* identifier;
    support::Pref preference; // switches the column off when present and false
};

// The file table's columns, in table order.
inline constexpr std::array<TableColumn, 9> kTableColumns{{
    {"Index", support::Pref::IndexColumn},
    {"Icon", support::Pref::IconColumn},
    {"Filename", support::Pref::FilenameColumn},
    {"Title", support::Pref::TitleColumn},
    {"Duration", support::Pref::DurationColumn},
    {"Date Modified", support::Pref::DateModifiedColumn},
    {"Date Created", support::Pref::DateCreatedColumn},
    {"Size", support::Pref::SizeColumn},
    {"EXIF Date Time", support::Pref::EXIFDateTimeColumn},
}};

// The two forms of a cell's value: exact, as the command line prints and an
// edit starts from (the time text, the byte count grouped with ",", the EXIF
// text as stored), or readable, as the window shows it ("0:27.06",
// "18.9 MB", the EXIF date in the locale's form).
enum class CellForm { Exact, Readable };

// What the cell of a column shows for a row: a text, the icon image, or an
// invalid QVariant for an empty cell. The file name is resolved anew each
// time, so it follows a file that was renamed or moved; in the readable form
// a file that cannot be found shows its last known name marked "(missing)".
QVariant objectValueForTableColumn(const FileList& list, const QString& identifier, int row,
                                   bool displayFullPath, CellForm form = CellForm::Exact);

} // namespace filelist
