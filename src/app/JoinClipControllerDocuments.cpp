// Files other applications ask us to open.

#include "app/JoinClipController.h"

namespace app {

// Files and folders go in as one batch, as Add Files takes them; what does
// not open is named in one alert.
void JoinClipController::openDocuments(const std::vector<std::filesystem::path>& paths) {
    if (paths.empty())
        return;
    m_movies.addFiles(paths);
    app::tellLeftOut(m_movies, tellInAlert());
}

} // namespace app
