#include "app/ListServices.h"

#include "join/CreateMovieFromSoundFile.h"

namespace app {

filelist::FileList::Services listServices(filelist::FileList::Services given) {
    if (!given.createMovieFromSoundFile)
        given.createMovieFromSoundFile = [](const std::filesystem::path& soundFile) {
            return join::createMovieFromSoundFile(soundFile);
        };
    return given;
}

} // namespace app
