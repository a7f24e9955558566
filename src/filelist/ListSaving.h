#pragma once

namespace support {
class UserDefaults;
}

namespace filelist {

class FileList;

// The list in the preferences between runs: "MovieAliases" holds every
// entry's file reference data, "ChapterTitles" its title, in list order;
// both only while "RememberFileList" is on (else they are removed).
void saveList(const FileList& list, support::UserDefaults& defaults);
// Appends the saved entries whose files are still there, with their titles.
void restoreList(FileList& list, const support::UserDefaults& defaults);

} // namespace filelist
