#pragma once

#include "support/Console.h"

#include <ostream>

namespace cli {

// The command's console: each line to its error stream.
class StreamConsole final : public support::Console {
public:
    explicit StreamConsole(std::ostream& stream) : m_stream(stream) {}
    void writeLine(const QString& line) override { m_stream << line.toStdString() << '\n' << std::flush; }

private:
    std::ostream& m_stream;
};

} // namespace cli
