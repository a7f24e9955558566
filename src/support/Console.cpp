#include "support/Console.h"

#include <cstdio>

namespace support {

void StandardErrorConsole::writeLine(const QString& line) {
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
}

} // namespace support
