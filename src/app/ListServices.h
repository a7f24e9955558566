#pragma once

#include "filelist/FileList.h"

namespace app {

// The file list's services as the application has them: a sound file
// becomes a movie of its own when "ConvertSoundToMovie" is on.
[[nodiscard]] filelist::FileList::Services listServices();

} // namespace app
