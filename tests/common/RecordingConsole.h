#pragma once

#include "support/Console.h"

#include <QStringList>

namespace testing_support {

// A console that keeps every line written to it.
class RecordingConsole final : public support::Console {
public:
    void writeLine(const QString& line) override { m_lines << line; }
    const QStringList& lines() const { return m_lines; }
    bool contains(const QString& part) const { return !m_lines.filter(part).isEmpty(); }

private:
    QStringList m_lines;
};

} // namespace testing_support
