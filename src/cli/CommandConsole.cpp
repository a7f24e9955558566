#include "cli/CommandConsole.h"

#include "cli/InterruptGuard.h"
#include "join/ProgressEstimate.h"
#include "support/FormatText.h"
#include "support/Job.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <ostream>

namespace cli {

namespace {

// Whole seconds; only differences are used, and unsigned ones wrap correctly.
std::uint32_t now() {
    return static_cast<std::uint32_t>(QDateTime::currentSecsSinceEpoch());
}

} // namespace

CommandConsole::CommandConsole(std::ostream& err, bool verbose) : m_err(err), m_verbose(verbose), m_progress(err) {}

void CommandConsole::status(const QString& text) {
    if (!m_verbose || text.isEmpty())
        return;
    m_progress.endLine();
    m_err << text.toStdString() << '\n' << std::flush;
}

void CommandConsole::alert(const QString& message, const QString& informative, const QStringList& messageArguments,
                           const QStringList& informativeArguments) {
    m_err << support::localizedText(message, messageArguments).toStdString();
    const QString details = support::localizedText(informative, informativeArguments);
    if (!details.trimmed().isEmpty())
        m_err << " \u2014 " << details.toStdString();
    m_err << '\n' << std::flush;
}

void CommandConsole::writeLine(const QString& line) {
    m_err << line.toStdString() << '\n' << std::flush;
}

std::expected<void, media::Error> CommandConsole::run(support::Job& job, const QString& title) {
    const InterruptGuard interrupts;
    const std::uint32_t start = now();
    m_progress.begin(title);
    const QMetaObject::Connection shown = QObject::connect(
        &job, &support::Job::progressChanged, &job, [&](double fraction, const QString& phase) {
            // The job runs here: its progress is the only moment a Ctrl-C can be handled.
            if (InterruptGuard::takeInterrupt()) {
                job.cancel();
                m_progress.end();
            }
            if (!m_progress.isShown())
                return; // cancelled: what the job still tells is not shown
            status(phase);
            const double done = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
            const std::uint32_t elapsed = now() - start;
            support::ShortText line;
            join::timeLine(elapsed, join::remainingSeconds(elapsed, done), line);
            m_progress.show(static_cast<int>(done * 100), QString::fromUtf8(line.c_str()));
        });
    auto result = job.runHere();
    QObject::disconnect(shown);
    m_progress.end();
    return result;
}

} // namespace cli
