#pragma once

// Runs another program as an oracle and hands back what it printed.

#include <QByteArray>
#include <QStringList>

namespace oracle {

struct ProgramOutput final {
    QByteArray out;
    QByteArray err;
};

// Runs program with arguments to its end; throws when it cannot be run, does
// not finish within five minutes, or exits with a failure. A program known to
// hang now and then (gst-launch under load) may be given more attempts: a run
// that has not finished after two minutes is then killed and started again.
ProgramOutput runProgram(const QString& program, const QStringList& arguments, int attempts = 1);

// Whether `program` is on the PATH.
bool installed(const QString& program);

} // namespace oracle
