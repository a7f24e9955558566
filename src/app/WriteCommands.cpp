#include "app/WriteCommands.h"

#include "app/CommandRequests.h"
#include "app/Session.h"

namespace app {

WriteCommands::WriteCommands(Session& session, JobRunner& jobs, support::Console& console, QObject* parent)
    : QObject(parent), m_session(session), m_jobs(jobs), m_console(console) {}

bool WriteCommands::checkListHoldsMovies() {
    if (m_session.fileList().count() > 0)
        return true;
    const Refusal refusal = noMoviesRefusal();
    emit noticed({support::Told::Information, refusal.message, refusal.informative});
    return false;
}

bool WriteCommands::checkComponentSelected() {
    if (m_session.outputFormat().selected())
        return true;
    const Refusal refusal = noComponentRefusal();
    emit noticed({support::Told::Information, refusal.message, refusal.informative});
    return false;
}

QString WriteCommands::writeTitle() const {
    return app::writeTitle(m_session.outputFormat());
}

} // namespace app
