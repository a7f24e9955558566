#pragma once

#include <QString>

namespace support {

// Where diagnostics go: lines for the person looking after the program,
// never shown in a window. The application writes them to standard error
// (the desktop session's journal keeps them), the command line to its error
// stream, and tests record them.
class Console {
public:
    virtual ~Console() = default;
    virtual void writeLine(const QString& line) = 0;
};

// The application's console: each line to standard error, at once.
class StandardErrorConsole final : public Console {
public:
    void writeLine(const QString& line) override;
};

} // namespace support
