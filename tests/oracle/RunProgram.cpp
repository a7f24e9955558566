#include "RunProgram.h"

#include <QProcess>
#include <QStandardPaths>
#include <stdexcept>

namespace oracle {

ProgramOutput runProgram(const QString& program, const QStringList& arguments, int attempts) {
    const int hangMilliseconds = attempts > 1 ? 120000 : 300000;
    for (int attempt = 1;; ++attempt) {
        QProcess process;
        process.start(program, arguments);
        const bool finished = process.waitForFinished(hangMilliseconds);
        if (!finished && attempt < attempts) {
            process.kill();
            process.waitForFinished();
            continue;
        }
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
            throw std::runtime_error(program.toStdString() + (finished ? " failed: " : " did not finish: ") +
                                     process.readAllStandardError().toStdString());
        return {process.readAllStandardOutput(), process.readAllStandardError()};
    }
}

bool installed(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace oracle
