#include "app/ListServices.h"

#include "join/CreateMovieFromSoundFile.h"

namespace app {

filelist::FileList::Services listServices() {
    return {.createMovieFromSoundFile = [](const std::filesystem::path& soundFile) {
        return join::createMovieFromSoundFile(soundFile);
    }};
}

} // namespace app
