#pragma once

#include "platform/Preferences.h"

#include <iosfwd>

namespace cli {

// The preferences every command opens, in the one way: the user's
// preferences file, and when it was damaged (it is then set aside, and every
// value takes its default), one line on err saying where it was kept.
class OpenedPreferences final {
public:
    explicit OpenedPreferences(std::ostream& err);

    platform::Preferences& store() { return m_store; }

    // Writes what changed; false, said on err, when it could not be written.
    bool write(const char* command);

private:
    std::ostream& m_err;
    platform::Preferences m_store;
};

} // namespace cli
