#pragma once

#include "support/EventPump.h"

#include <iosfwd>

namespace support {

// The event pump of the command line: what is pending to be seen is the text
// written to the stream, so pumping flushes it.
class HeadlessEventPump final : public EventPump {
public:
    explicit HeadlessEventPump(std::ostream& out);

    void processPendingDrawing() override;

private:
    std::ostream& m_out;
};

} // namespace support
