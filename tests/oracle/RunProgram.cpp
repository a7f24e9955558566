#include "RunProgram.h"

#include <QProcess>
#include <QStandardPaths>
#include <stdexcept>

namespace oracle {

ProgramOutput runProgram(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(program.toStdString() +
                                 " failed: " + process.readAllStandardError().toStdString());
    return {process.readAllStandardOutput(), process.readAllStandardError()};
}

bool installed(const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

} // namespace oracle
